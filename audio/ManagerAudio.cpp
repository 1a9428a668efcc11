#include "audio/ManagerAudio.h"

#include <iostream>
#include <set>
#include <vector>

#include "audio/MessageAudio.h"
#include "engine/MessageFrame.h"
#include "engine/MessageTrigger.h"
#include "engine/TriggerNames.h"

namespace {
constexpr int kVoices = 64;
const char* const kBankFolder = "Assets/Banks/";
}  // namespace

ManagerAudio::ManagerAudio() : studio(std::make_unique<audio::Runtime>()) {
    Opened(studio->Initialize(kVoices));
}

ManagerAudio::ManagerAudio(audio::RenderTarget target)
    : studio(std::make_unique<audio::Runtime>()) {
    Opened(studio->Initialize(kVoices, std::move(target)));
}

void ManagerAudio::Opened(audio::Result result) {
    if (result == audio::Result::ErrOutputInit) {
        // The one line a machine without sound gets; everything else carries on silently.
        std::cout << audio::ResultName(result)
                  << ": no audio output device, the game runs without sound" << std::endl;
    } else {
        Check(result);
    }
    banks.max_load_factor(1.0f);
    banks.rehash(8);
    events.max_load_factor(1.0f);
    events.rehash(8);
    // The master banks carry buses and parameters; their events are registered only on request.
    LoadBank("Master", false);
    LoadBank("Master.strings", false);
}

ManagerAudio::~ManagerAudio() {
    for (auto& [path, description] : events) {
        if (description) Check(description->ReleaseAllInstances());
    }
    events.clear();
    for (auto& [name, bank] : banks) {
        if (bank) Check(bank->Unload());
    }
    banks.clear();
    studio.reset();
}

void ManagerAudio::Check(audio::Result result) {
    if (result == audio::Result::Ok) return;
    std::cout << audio::ResultName(result);
    // A bad bank says where it is bad; a designer needs more than the code for that.
    if (result == audio::Result::ErrFileBad && !studio->LastErrorDetail().empty()) {
        std::cout << ": " << studio->LastErrorDetail() << std::endl;
    }
}

void ManagerAudio::LoadBank(const std::string& name, bool registerEvents) {
    audio::Bank* bank = nullptr;
    Check(studio->LoadBankFile(kBankFolder + name + ".bank", &bank));
    auto [entry, inserted] = banks.try_emplace(name, bank);
    // A bank that failed before and loads now takes the place of its null entry.
    if (!entry->second) entry->second = bank;
    if (!registerEvents || !entry->second) return;
    int count = 0;
    Check(entry->second->GetEventCount(&count));
    std::vector<audio::EventDescription*> list(static_cast<std::size_t>(count));
    int written = 0;
    Check(entry->second->GetEventList(list.data(), count, &written));
    for (int i = 0; i < written; ++i) {
        audio::EventDescription* description = list[static_cast<std::size_t>(i)];
        if (description->Path().empty()) continue;
        auto [event, added] = events.try_emplace(description->Path(), description);
        if (!event->second) event->second = description;
    }
}

void ManagerAudio::RegisterEvent(std::string_view path) {
    if (path.empty()) return;
    audio::EventDescription* description = nullptr;
    Check(studio->GetEvent(path, &description));
    auto [event, added] = events.try_emplace(std::string(path), description);
    if (!event->second) event->second = description;
}

void ManagerAudio::Update(float dt) {
    if (dt > 0.0f) {
        lastFrameTime = dt;
    } else if (paused) {
        dt = lastFrameTime;
    }
    Check(studio->Update(dt));
}

void ManagerAudio::PlayEvent(std::string_view name, const glm::vec3& position,
                             const glm::vec3& velocity) {
    key.assign("event:/").append(name);
    auto entry = events.find(key);
    // Names asked for are remembered, found or not, so a missing one costs one lookup.
    if (entry == events.end()) entry = events.emplace(key, nullptr).first;
    if (!entry->second) return;
    audio::EventInstance* instance = nullptr;
    Check(entry->second->CreateInstance(&instance));
    if (!instance) return;
    // Placed relative to the last listener position: the runtime's own listener never moves.
    Check(instance->Set3DAttributes(position - listenerPosition, velocity - listenerVelocity));
    Check(instance->Start());
    // Released at once, so the runtime reclaims it when it ends instead of keeping every
    // sound of a long session.
    Check(instance->Release());
}

audio::Bus* ManagerAudio::FindBus(std::string_view name) {
    key.assign("bus:/").append(name);
    audio::Bus* bus = nullptr;
    Check(studio->GetBus(key, &bus));
    return bus;
}

bool ManagerAudio::HandleMessage(const Message& message) {
    switch (message.TypeId()) {
        case MessageId::Update:
            Update(static_cast<const MessageUpdate&>(message).dt);
            break;
        case MessageId::ContentReloaded: {
            std::vector<std::string> failed;
            studio->ReloadChangedSounds(failed);
            // A sound kept in two channel layouts fails twice; say it once.
            for (const auto& path : std::set<std::string>(failed.begin(), failed.end())) {
                std::cerr << "Halvex: error: cannot reload sound " << path
                          << "; keeping the old sound" << std::endl;
            }
            break;
        }
        case MessageId::AudioEvent: {
            auto& event = static_cast<const MessageAudioEvent&>(message);
            PlayEvent(event.name, event.position, event.velocity);
            break;
        }
        case MessageId::Load: {
            auto& load = static_cast<const MessageLoad&>(message);
            if (load.kind == MessageLoad::kBank) {
                LoadBank(std::string(load.name), true);
            } else if (load.kind == MessageLoad::kEvent) {
                RegisterEvent(load.name);
            }
            break;
        }
        case MessageId::Trigger: {
            auto& trigger = static_cast<const MessageTrigger&>(message);
            if (trigger.name == trigger::Pause) {
                paused = trigger.value;
                Check(studio->SetParameterByName("PauseMenuScreen", trigger.value ? 1.0f : 0.0f,
                                                 false));
            } else if (trigger.name == trigger::WindowFocus) {
                if (audio::Bus* master = FindBus("")) Check(master->SetPaused(!trigger.value));
            }
            break;
        }
        case MessageId::ListenerPosition: {
            auto& listener = static_cast<const MessageListenerPosition&>(message);
            listenerPosition = listener.position;
            listenerVelocity = listener.velocity;
            break;
        }
        case MessageId::AudioParameter: {
            auto& parameter = static_cast<const MessageAudioParameter&>(message);
            Check(studio->SetParameterByName(parameter.name, parameter.value, false));
            break;
        }
        case MessageId::SetBusVolume: {
            auto& set = static_cast<const MessageSetBusVolume&>(message);
            if (audio::Bus* bus = FindBus(set.bus)) Check(bus->SetVolume(set.volume));
            break;
        }
        case MessageId::QueryBusVolume: {
            auto& query = static_cast<const MessageQueryBusVolume&>(message);
            float volume = 0.0f;
            audio::Bus* bus = FindBus(query.bus);
            // An unknown bus has no volume to report; the asker keeps what it had.
            if (bus && bus->GetVolume(&volume) == audio::Result::Ok) query.callback(volume);
            break;
        }
        default:
            break;
    }
    return false;
}
