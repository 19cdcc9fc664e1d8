#include "sample_stats.h"

#include <algorithm>

SampleStats Summarize(std::vector<double> samples) {
    SampleStats stats;
    stats.count = samples.size();
    if (samples.empty()) return stats;
    std::sort(samples.begin(), samples.end());
    const size_t middle = samples.size() / 2;
    stats.median = samples.size() % 2 ? samples[middle] : (samples[middle - 1] + samples[middle]) / 2;
    stats.min = samples.front();
    stats.max = samples.back();
    return stats;
}
