// The checks around loading a FANN network file. FANN trusts its files: a count in one makes
// it allocate that much, and an index or size that does not fit the layers makes fann_run
// read outside the network. The text is checked before FANN reads it, the network after.
#pragma once

#include <string>

struct fann;

namespace NetworkFileCheck
{
// Largest network file read: ours are a few kilobytes.
constexpr std::size_t kMaxFileBytes = 1 << 20;

// Empty when FANN's reader takes the text as it stands (its own version, every count
// matching the entries that follow, every number in range and finite); otherwise the
// problem, with its line.
std::string checkText(const std::string& text);
// Empty when a loaded network can be run: its layers, neurons and connections fit one
// another and every weight and steepness is finite.
std::string checkNetwork(const fann& network);
}
