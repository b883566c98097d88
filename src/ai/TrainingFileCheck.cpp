// What a training file must hold before FANN reads it.
#include "ai/TrainingFileCheck.h"

#include "ai/FannText.h"

std::string TrainingFileCheck::checkText(const std::string& content, Counts& counts)
{
    FannText text(content);
    text.skipBlanks();
    if (!text.number(counts.samples) || !text.literal(" ") || !text.number(counts.inputs) || !text.literal(" ") ||
        !text.number(counts.outputs))
        return text.at("no counts of samples, inputs and outputs");
    text.skipBlanks();
    if (counts.inputs == 0 || counts.outputs == 0)
        return text.at("a sample needs at least one input and one output");
    const std::uint64_t perSample = std::uint64_t{counts.inputs} + counts.outputs;
    for (std::uint64_t sample = 0; sample < counts.samples; ++sample)
        for (std::uint64_t value = 0; value < perSample; ++value)
        {
            float number = 0.0f;
            if (!text.number(number))
                return text.at("sample " + std::to_string(sample) + " of " + std::to_string(counts.samples) +
                               " lacks its " + (value < counts.inputs ? "input " : "output ") +
                               std::to_string(value < counts.inputs ? value : value - counts.inputs) +
                               " (or it is not a finite number)");
            text.skipBlanks();
        }
    if (!text.atEnd())
        return text.at("more text after the last sample");
    return "";
}
