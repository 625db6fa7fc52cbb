#pragma once

#include <filesystem>

// The material folders a batch benchmark runs over, and the texture library
// their stored paths lead to once the check has searched for them.
//
// The corpus: materials of about 160 KB in collection folders of 20
// (Wood/Wood Collection 03/oak_planks_0412.mxm), ten categories of five
// collections to every 1,000 materials, each with a 200 x 200
// preview, 3 to 6 stored texture paths of another user's machine
// (/Users/anna/Textures/Wood/oak_planks_0412_diffuse.jpg) and one ".ior"
// reference inside a raw block. The library: every one of those files, in
// folders of their own, outside the corpus, so that a copy of the corpus holds
// only the materials and every check rewrites every path.
namespace BatchCorpus {

constexpr int Materials = 1000;

// Both are made once below root and kept for later runs; a corpus found there
// is always complete. At most 10,000 materials.
void makeOnce(const std::filesystem::path& root, int materials = Materials);
std::filesystem::path corpus(const std::filesystem::path& root);
std::filesystem::path library(const std::filesystem::path& root);

} // namespace BatchCorpus
