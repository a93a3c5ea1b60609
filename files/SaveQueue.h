// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The writes of a numbered series of files, a few at a time.
//
// Every file of a series is encoded and then saved atomically, and an atomic save waits until
// its data has reached the disk; for a series of small files those waits cost more than the
// encoding. The queue runs each file's whole write (encode and save) on a worker thread, with
// a few files under way at once, so the waits overlap with each other and with the encoding,
// and takes the results in the order the files were added. Progress is reported on the
// caller's thread, one step per file written. A write must only read what it shares with the
// other writes.
#include "files/ImageExport.h"
#include "files/SaveFile.h"
#include "pixels/Progress.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <future>
#include <string>

namespace vork {

class SaveQueue {
  public:
    // At most `underWay` writes run at once (at least one).
    SaveQueue(const Progress& progress, int total, int underWay);
    ~SaveQueue(); // waits for every write under way
    SaveQueue(const SaveQueue&) = delete;
    SaveQueue& operator=(const SaveQueue&) = delete;

    // How many writes of files of about `fileBytes` bytes of pixels may be under way at once:
    // a few, fewer for very large images so the pixels in flight stay within a bound.
    static int underWayFor(int64_t fileBytes);

    // Starts writing `file`. False, and nothing started, once the series has to stop: an
    // earlier write failed or the progress callback asked to stop.
    bool add(std::string file, std::function<SaveResult()> write);

    // Waits for every write under way. The first failure in order is the outcome; a stop asked
    // for before the last file was written is a cancel; the files written are listed either
    // way, in order.
    ExportResult finish();

  private:
    struct Write {
        std::string file;
        std::future<SaveResult> result;
    };
    void takeOldest();

    const Progress& progress_;
    int total_;
    size_t underWay_;
    std::deque<Write> writes_;
    ExportResult result_;
    bool stopped_ = false, cancelled_ = false;
};

} // namespace vork
