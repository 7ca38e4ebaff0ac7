// The benchmark's pictures, made on first use: photo-like (gradients, texture
// and noise) so that the encoders and decoders work as on real photographs.
#pragma once

#include <string>
#include <vector>

struct BenchInput {
    std::string name;
    std::string path;
    bool timed = true;  // false: used for the fidelity check only
};

// Makes whatever is missing in `folder` and lists the inputs in a fixed order.
std::vector<BenchInput> bench_inputs(const std::string& folder);
