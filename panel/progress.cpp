#include "panel/progress.h"

#include <algorithm>

namespace core {

Progress::Progress(platform::Taskbar* taskbar, platform::Clock& clock, std::uint64_t total)
    : taskbar_(taskbar), clock_(clock), total_(total), start_(clock_.Milliseconds()) {}

Progress::~Progress() { End(); }

void Progress::Copied(std::uint64_t copied) {
    if (!taskbar_ || ended_ || total_ == 0) return;
    if (!shown_ && clock_.Milliseconds() - start_ < kThreshold) return;
    shown_ = true;
    taskbar_->SetProgress(std::min(base_ + copied, total_), total_);
}

void Progress::FileDone(std::uint64_t size) { base_ += size; }

void Progress::End() {
    if (shown_ && !ended_) taskbar_->ClearProgress();
    ended_ = true;
}

}  // namespace core
