#pragma once

#include <chrono>
#include <cstddef>
#include <string>
#include <typeinfo>
#include <unordered_map>
#include <utility>
#include <vector>

/// Where each frame's time goes: the CPU time of whole frames, the time each system and
/// manager spends on the frame's update and render (less what it spends inside other timed
/// handlers, but with the work of the messages it sends), and the messages sent per frame.
///
/// Timing is off unless a profile is made active; then the engine and the states time each
/// handler's share of MessageUpdate and MessageRender. Main thread only.
class FrameProfile {
public:
    using Clock = std::chrono::steady_clock;

    /// Frames kept when no full history is asked for: a few seconds at 60 frames a second.
    static constexpr std::size_t kRecentFrames = 300;

    /// With `keepHistory` every frame is kept until the profile dies (for a report at the end
    /// of a run); otherwise only about the last kRecentFrames.
    explicit FrameProfile(bool keepHistory);

    /// The profile the engine feeds, or null when nothing is timed.
    static FrameProfile* Active();
    static void SetActive(FrameProfile* profile);

    void BeginFrame();
    /// Closes the frame begun last; a frame never begun (timing switched on mid-frame) is
    /// dropped.
    void EndFrame(long long messages);
    /// Attaches a note to the current frame ("entered Level1"), reported with its wall time.
    void Mark(const std::string& note);

    /// Opens and closes the timed share of one handler; calls nest.
    void Enter(const std::type_info& handler);
    void Leave();

    struct Frame {
        /// CPU time of the main thread, and wall time, in milliseconds.
        float cpuMs = 0.0f;
        float wallMs = 0.0f;
        long long messages = 0;
    };
    struct Section {
        std::string name;
        /// Milliseconds per frame, aligned with Frames().
        std::vector<float> perFrame;
        float current = 0.0f;
    };
    struct Note {
        std::string text;
        float wallMs = 0.0f;
    };

    const std::vector<Frame>& Frames() const { return frames; }
    const std::vector<Section>& Sections() const { return sections; }
    const std::vector<Note>& Notes() const { return notes; }

    /// Sections by median time per frame over the frames kept, most expensive first.
    std::vector<std::pair<std::string, float>> RankedSections() const;
    /// Median over the last `count` frames kept, most expensive first, at most `limit`.
    std::vector<std::pair<std::string, float>> RankedRecent(std::size_t count,
                                                            std::size_t limit) const;

private:
    struct Open {
        std::size_t section;
        Clock::time_point start;
        Clock::duration inner{};
    };

    std::size_t SectionOf(const std::type_info& handler);
    void Trim();

    bool keepHistory;
    bool inFrame = false;
    Clock::time_point frameWallStart;
    double frameCpuStart = 0.0;
    std::vector<Frame> frames;
    std::vector<Section> sections;
    std::unordered_map<const std::type_info*, std::size_t> sectionIndex;
    std::vector<Open> open;
    std::vector<Note> notes;
    std::vector<std::string> pendingNotes;
};

/// Times one handler's share while a profile is active; costs a null test otherwise.
class ProfileScope {
public:
    ProfileScope(FrameProfile* profile, const std::type_info& handler) : profile(profile) {
        if (profile) profile->Enter(handler);
    }
    ~ProfileScope() {
        if (profile) profile->Leave();
    }
    ProfileScope(const ProfileScope&) = delete;
    ProfileScope& operator=(const ProfileScope&) = delete;

private:
    FrameProfile* profile;
};

/// The median of the values (0 for none); `fraction` 0.99 gives the 99th percentile.
float Percentile(std::vector<float> values, double fraction);
