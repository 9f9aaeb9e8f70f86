#include "panel/progress.h"

#include <chrono>
#include <utility>

std::uint64_t Progress::SteadyMilliseconds() {
    return (std::uint64_t)std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

Progress::Progress(ui::Taskbar* taskbar, Clock clock, std::uint64_t total)
    : taskbar_(taskbar), clock_(std::move(clock)), total_(total), start_(clock_ ? clock_() : 0) {}

Progress::~Progress() { End(); }

void Progress::Copied(std::uint64_t copied) {
    if (!taskbar_ || !clock_ || ended_ || total_ == 0) return;
    if (!shown_ && clock_() - start_ < kThreshold) return;
    shown_ = true;
    std::uint64_t done = base_ + copied;
    taskbar_->SetProgress(done < total_ ? done : total_, total_);
}

void Progress::FileDone(std::uint64_t size) { base_ += size; }

void Progress::End() {
    if (shown_ && !ended_) taskbar_->ClearProgress();
    ended_ = true;
}
