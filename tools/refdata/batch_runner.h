// Runs independent Monte Carlo batches on several threads and sums up their spread. Each batch has
// its own seed and its own tally, so the threads only choose which batch to run next and the result
// does not depend on which thread ran what (the caller sums the tallies in batch order).
#pragma once

#include <atomic>
#include <cmath>
#include <exception>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace ordevo::refdata {

// Calls runBatch(b) for b = 0 … batches − 1 on `threads` threads (at least one: the caller's).
// The first exception thrown by a batch is rethrown here once every thread has stopped.
template <class RunBatch>
void RunBatchesInParallel(int batches, int threads, const RunBatch& runBatch) {
    std::atomic<int> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto worker = [&] {
        for (int b = next++; b < batches; b = next++) {
            try {
                runBatch(b);
            } catch (...) {
                const std::lock_guard lock(failureMutex);
                if (!failure) failure = std::current_exception();
            }
        }
    };
    std::vector<std::thread> pool;
    for (int t = 1; t < threads; ++t) pool.emplace_back(worker);
    worker();
    for (std::thread& thread : pool) thread.join();
    if (failure) std::rethrow_exception(failure);
}

// Mean and standard uncertainty of the mean of per-batch values.
inline std::pair<double, double> MeanAndUncertainty(const std::vector<double>& values) {
    const auto n = static_cast<double>(values.size());
    double sum = 0;
    for (double v : values) sum += v;
    const double mean = sum / n;
    if (values.size() < 2) return {mean, 0.0};
    double squares = 0;
    for (double v : values) squares += (v - mean) * (v - mean);
    return {mean, std::sqrt(squares / (n - 1.0) / n)};
}

}  // namespace ordevo::refdata
