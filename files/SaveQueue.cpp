// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/SaveQueue.h"

#include <algorithm>

namespace vork {

namespace {
constexpr int mostUnderWay = 4;
constexpr int64_t pixelBytesInFlight = int64_t(256) << 20;
} // namespace

SaveQueue::SaveQueue(const Progress& progress, int total, int underWay)
    : progress_(progress), total_(total), underWay_(size_t(std::max(1, underWay))) {}

SaveQueue::~SaveQueue() {
    for (Write& write : writes_)
        write.result.wait();
}

int SaveQueue::underWayFor(int64_t fileBytes) {
    return int(
        std::clamp<int64_t>(pixelBytesInFlight / std::max<int64_t>(1, fileBytes), 1, mostUnderWay));
}

bool SaveQueue::add(std::string file, std::function<SaveResult()> write) {
    if (writes_.size() >= underWay_)
        takeOldest();
    if (stopped_)
        return false;
    writes_.push_back({std::move(file), std::async(std::launch::async, std::move(write))});
    return true;
}

void SaveQueue::takeOldest() {
    Write write = std::move(writes_.front());
    writes_.pop_front();
    const SaveResult saved = write.result.get();
    if (!saved) {
        if (result_.outcome.ok())
            result_.outcome =
                FileOutcome::failed(ImageFailure::CannotWrite, write.file, saved.reason);
        stopped_ = true;
        return;
    }
    result_.written.push_back(write.file);
    if (!stopped_ && !reportProgress(progress_, int(result_.written.size()), total_)) {
        stopped_ = cancelled_ = true;
        result_.outcome = FileOutcome::failed(ImageFailure::Cancelled, write.file);
    }
}

ExportResult SaveQueue::finish() {
    while (!writes_.empty())
        takeOldest();
    // A stop asked for after the last file had already gone out cancels nothing.
    if (cancelled_ && int(result_.written.size()) == total_)
        result_.outcome = FileOutcome::success(result_.written.back());
    return std::move(result_);
}

} // namespace vork
