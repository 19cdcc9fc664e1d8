// Median, minimum and maximum of one program's timed runs.
#pragma once

#include <cstddef>
#include <vector>

struct SampleStats {
    std::size_t count = 0;
    double median = 0;
    double min = 0;
    double max = 0;
};

// An even count takes the mean of the two middle samples; no samples, all zero.
SampleStats Summarize(std::vector<double> samples);
