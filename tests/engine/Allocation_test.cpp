// Delivery must not touch the heap: a frame with the game's number of systems, and a query
// answered deep in the roster, allocate nothing.
#include <atomic>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "engine/MessageComponent.h"
#include "engine/MessageFrame.h"
#include "tests/support/SyntheticRoster.h"
#include "tests/support/TempAssets.h"
#include "tests/support/TestEngine.h"

namespace {
std::atomic<bool> counting{false};
std::atomic<long> allocations{0};
}  // namespace

void* operator new(std::size_t size) {
    if (counting) ++allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

TEST(Allocation, DeliveryAllocatesNothing) {
    TempAssets assets;
    assets.Entity("Dot", {{"Transform", {{"Translation", {1, 2, 3}}}}});
    assets.Scene("Level", {{"a", "Dot"}});
    TestEngine test(MakeSyntheticRoster(53, 5));
    test.Enter("Level");
    test.Frame();

    float seen = 0.0f;
    const std::function<void(ComponentTransform&)> read = [&seen](ComponentTransform& t) {
        seen = t.translation.y;
    };
    // Room for whatever the recorder keeps, so only the engine's own allocations count.
    auto& records = test.recorder->records;
    records.reserve(records.size() + 1000);

    allocations = 0;
    counting = true;
    for (int i = 0; i < 100; ++i) {
        test.engine.HandleMessage(MessageUpdate(0.01f));
        test.engine.HandleMessage(MessageQuery<ComponentTransform>(1, read));
    }
    counting = false;
    EXPECT_EQ(allocations.load(), 0);
    EXPECT_FLOAT_EQ(seen, 2.0f);
}
