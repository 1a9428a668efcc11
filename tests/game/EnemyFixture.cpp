#include "tests/game/EnemyFixture.h"

#include "audio/MessageAudio.h"
#include "engine/MessageTrigger.h"
#include "game/Roster.h"
#include "particle/MessageEmitParticle.h"
#include "services/animation/MessageAnimation.h"
#include "tests/support/MessageSpy.h"

using json = nlohmann::json;

void EnemyTest::Start(const json& scene) {
    assets.Scene("Level", scene);
    auto roster = MakeRoster();
    roster.insert(roster.begin(),
                  std::make_unique<MessageSpy>([this](const Message& m) { See(m); }));
    test = std::make_unique<TestEngine>(std::move(roster));
    test->Enter("Level");
}

void EnemyTest::See(const Message& m) {
    switch (m.TypeId()) {
        case MessageId::SetAnimation: {
            auto& set = static_cast<const MessageSetAnimation&>(m);
            animations.push_back({set.entity, std::string(set.name), set.loop, set.speed});
            break;
        }
        case MessageId::AudioEvent:
            sounds.emplace_back(static_cast<const MessageAudioEvent&>(m).name);
            break;
        case MessageId::EmitParticle: {
            auto& emit = static_cast<const MessageEmitParticle&>(m);
            effects.push_back({emit.Entity, std::string(emit.Effect)});
            break;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(m);
            if (trigger.value) triggers.emplace_back(trigger.name);
            break;
        }
        default:
            break;
    }
}

void EnemyTest::WriteWalker(const json& behavior, const json& collider) {
    assets.Entity("Walker", {{"Transform", {{"Translation", {0, 0, 0}}}},
                             {"Box Collider", {{"Size", {0.4, 0.45}}}},
                             {"Physics", json::object()},
                             {"Enemy Behavior", behavior},
                             {"Enemy Collision Handler", collider}});
}

void EnemyTest::WritePellet() {
    assets.Entity("Pellet", {{"Transform", {{"Translation", {0, 0, 0}}}},
                             {"Physics", json::object()},
                             {"Circle Collider", {{"Radius", 0.1}}},
                             {"Bullet Behavior", {{"Life Time", 5}}},
                             {"Bullet Collision Handler", json::object()}});
}

std::vector<EntityId> EnemyTest::Live(const std::string& file) {
    std::vector<EntityId> live;
    for (EntityId id : FindEntities(*test, file)) {
        if (Alive(id)) live.push_back(id);
    }
    return live;
}

bool EnemyTest::Alive(EntityId entity) {
    return test->Has<ComponentTransform>(entity);
}

ComponentTransform EnemyTest::Transform(EntityId entity) {
    ComponentTransform copy;
    EXPECT_TRUE(test->Query<ComponentTransform>(entity, [&](ComponentTransform& t) { copy = t; }))
        << "entity " << entity << " has no transform";
    return copy;
}

ComponentPhysics EnemyTest::Body(EntityId entity) {
    ComponentPhysics copy;
    EXPECT_TRUE(test->Query<ComponentPhysics>(entity, [&](ComponentPhysics& p) { copy = p; }))
        << "entity " << entity << " has no physics";
    return copy;
}

std::vector<EnemyTest::AnimationRequest> EnemyTest::AnimationsOf(EntityId entity) const {
    std::vector<AnimationRequest> out;
    for (const auto& request : animations) {
        if (request.entity == entity) out.push_back(request);
    }
    return out;
}

int EnemyTest::Count(const std::vector<std::string>& names, const std::string& name) const {
    int n = 0;
    for (const auto& each : names) n += each == name;
    return n;
}
