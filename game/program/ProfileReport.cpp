#include "game/program/ProfileReport.h"

#include <iomanip>
#include <string>
#include <vector>

void WriteProfileReport(std::ostream& out, const FrameProfile& profile, double readyMs) {
    const auto& frames = profile.Frames();
    std::vector<float> cpu;
    std::vector<float> messages;
    cpu.reserve(frames.size());
    messages.reserve(frames.size());
    for (const auto& frame : frames) {
        cpu.push_back(frame.cpuMs);
        messages.push_back(static_cast<float>(frame.messages));
    }
    out << std::fixed << std::setprecision(3);
    out << "profile: " << frames.size() << " frames, CPU per frame: median " << Percentile(cpu, 0.5)
        << " ms, 99th percentile " << Percentile(cpu, 0.99) << " ms, worst " << Percentile(cpu, 1.0)
        << " ms\n";
    out << "profile: messages per frame: median " << std::setprecision(0)
        << Percentile(messages, 0.5) << ", worst " << Percentile(messages, 1.0) << "\n";
    out << std::setprecision(3);
    out << "profile: program start to first frame " << readyMs << " ms\n";
    for (const auto& note : profile.Notes()) {
        out << "profile: frame that " << note.text << ": " << note.wallMs << " ms wall\n";
    }
    out << "profile: median ms per frame, system or manager\n";
    for (const auto& [name, ms] : profile.RankedSections()) {
        out << "  " << std::setw(8) << ms << "  " << name << "\n";
    }
    out << std::defaultfloat << std::flush;
}
