// The check of a FANN training file before FANN reads it: its reader allocates what the
// first line asks for (the counts' product may wrap) and reads numbers scanf's way.
#pragma once

#include <cstdint>
#include <string>

namespace TrainingFileCheck
{
// Largest training file read: a lap of recording is a few hundred kilobytes.
constexpr std::size_t kMaxFileBytes = 64 << 20;

struct Counts
{
    std::uint32_t samples = 0;
    std::uint32_t inputs = 0;
    std::uint32_t outputs = 0;
};

// Empty when the text is "<samples> <inputs> <outputs>" and then exactly that many finite
// numbers (inputs and outputs at least one each); otherwise the problem, with its line.
std::string checkText(const std::string& text, Counts& counts);
}
