// The texts the control window shows during a transfer: durations, grouped numbers,
// kilobytes, percentages and the transfer figures of a progress refresh. Plain values in,
// narrow strings out, so that every format and truncation is testable without a window.
#pragma once

#include <cstdint>
#include <string>

// "%2u:%02u:%02u": hours padded with a space to two characters and never limited.
std::string FormatDuration(uint32_t seconds);
// A comma before every group of three characters counted from the right.
std::string GroupDigits(const std::string& digits);
std::string FormatGrouped(int32_t value);
std::string FormatGrouped64(int64_t value);
// "%s KB" of the bytes divided by 1024, truncated toward zero.
std::string KilobyteText(int64_t bytes);
// "%s KB/Sec" of whole kilobytes per second.
std::string SpeedText(int32_t kilobytesPerSecond);

// done / total * 100, truncated toward zero and held between 0 and 100: more on disk than
// the total is the whole file. An unknown total (0 or less) gives 0, so the bar and the
// percentage label never see an infinite or undefined value.
int32_t TruncatedPercent(double done, double total);
// The percentage of a file of `fileSize` bytes that `onDisk` bytes make: an empty file is
// whole at once.
int32_t FilePercent(int64_t onDisk, int64_t fileSize);
// "%ld%%".
std::string PercentText(int32_t percent);

// What a progress refresh shows, from the figures of the running transfer.
struct TransferFigures {
    std::string received;   // label 211: kilobytes on disk
    std::string speed;      // label 213: average since the start
    std::string remaining;  // label 212: at that speed
};
// `elapsedTicks` are the milliseconds since the transfer started (unsigned, so a wrap of the
// tick counter does not disturb the whole seconds); `transferBytes` counts only what came
// since then, `received` the whole file on disk. Within the first second, or before any
// byte, the speed is 0 KB/Sec and the remaining time 0:00:00.
TransferFigures ComputeTransferFigures(int64_t received, int64_t fileSize, int64_t transferBytes,
                                       uint32_t elapsedTicks);

// One progress notification more: true when the figures are refreshed now, at every 20th
// notification since the last refresh or when the whole file is on disk; a refresh sets
// `counter` back to 0. The counter is not reset when a transfer starts.
bool CountProgressNotification(uint32_t& counter, int64_t received, int64_t fileSize);
