#include "engine/FrameProfile.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <memory>

#if defined(__GNUG__)
#include <cxxabi.h>
#endif

namespace {

FrameProfile* active = nullptr;

double ThreadCpuMs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1.0e6;
}

float Ms(FrameProfile::Clock::duration d) {
    return std::chrono::duration<float, std::milli>(d).count();
}

std::string Readable(const std::type_info& type) {
#if defined(__GNUG__)
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> name(
        abi::__cxa_demangle(type.name(), nullptr, nullptr, &status), std::free);
    if (status == 0 && name) return name.get();
#endif
    return type.name();
}

}  // namespace

float Percentile(std::vector<float> values, double fraction) {
    if (values.empty()) return 0.0f;
    const double clamped = std::clamp(fraction, 0.0, 1.0);
    const auto rank = static_cast<std::size_t>(
        std::ceil(clamped * static_cast<double>(values.size())) - (clamped > 0.0 ? 1 : 0));
    const std::size_t at = std::min(rank, values.size() - 1);
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(at),
                     values.end());
    return values[at];
}

FrameProfile::FrameProfile(bool keepHistory) : keepHistory(keepHistory) {}

FrameProfile* FrameProfile::Active() {
    return active;
}

void FrameProfile::SetActive(FrameProfile* profile) {
    // Timing switched on inside a frame must not close that frame half measured.
    if (profile && profile != active) profile->inFrame = false;
    active = profile;
}

void FrameProfile::BeginFrame() {
    inFrame = true;
    open.clear();
    for (Section& section : sections) section.current = 0.0f;
    frameCpuStart = ThreadCpuMs();
    frameWallStart = Clock::now();
}

void FrameProfile::EndFrame(long long messages) {
    if (!inFrame) return;
    inFrame = false;
    Frame frame;
    frame.wallMs = Ms(Clock::now() - frameWallStart);
    frame.cpuMs = static_cast<float>(ThreadCpuMs() - frameCpuStart);
    frame.messages = messages;
    frames.push_back(frame);
    for (Section& section : sections) section.perFrame.push_back(section.current);
    for (std::string& note : pendingNotes) notes.push_back({std::move(note), frame.wallMs});
    pendingNotes.clear();
    Trim();
}

void FrameProfile::Mark(const std::string& note) {
    pendingNotes.push_back(note);
}

void FrameProfile::Trim() {
    if (keepHistory || frames.size() < 2 * kRecentFrames) return;
    const auto drop = static_cast<std::ptrdiff_t>(frames.size() - kRecentFrames);
    frames.erase(frames.begin(), frames.begin() + drop);
    for (Section& section : sections) {
        section.perFrame.erase(section.perFrame.begin(), section.perFrame.begin() + drop);
    }
    if (notes.size() > kRecentFrames) notes.erase(notes.begin());
}

std::size_t FrameProfile::SectionOf(const std::type_info& handler) {
    auto it = sectionIndex.find(&handler);
    if (it != sectionIndex.end()) return it->second;
    Section section;
    section.name = Readable(handler);
    // A handler met late counts zero for the frames before it.
    section.perFrame.assign(frames.size(), 0.0f);
    sections.push_back(std::move(section));
    sectionIndex.emplace(&handler, sections.size() - 1);
    return sections.size() - 1;
}

void FrameProfile::Enter(const std::type_info& handler) {
    const std::size_t section = SectionOf(handler);
    open.push_back({section, Clock::now(), {}});
}

void FrameProfile::Leave() {
    if (open.empty()) return;
    const Open closing = open.back();
    open.pop_back();
    const Clock::duration total = Clock::now() - closing.start;
    Section& section = sections[closing.section];
    section.current += Ms(total - closing.inner);
    if (!open.empty()) open.back().inner += total;
}

namespace {

std::vector<std::pair<std::string, float>> Rank(const std::vector<FrameProfile::Section>& sections,
                                                std::size_t count, std::size_t limit) {
    std::vector<std::pair<std::string, float>> ranked;
    for (const auto& section : sections) {
        const std::size_t n = std::min(count, section.perFrame.size());
        std::vector<float> recent(section.perFrame.end() - static_cast<std::ptrdiff_t>(n),
                                  section.perFrame.end());
        ranked.emplace_back(section.name, Percentile(std::move(recent), 0.5));
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const auto& a, const auto& b) { return a.second > b.second; });
    if (ranked.size() > limit) ranked.resize(limit);
    return ranked;
}

}  // namespace

std::vector<std::pair<std::string, float>> FrameProfile::RankedSections() const {
    return Rank(sections, frames.size(), sections.size());
}

std::vector<std::pair<std::string, float>> FrameProfile::RankedRecent(std::size_t count,
                                                                      std::size_t limit) const {
    return Rank(sections, count, limit);
}
