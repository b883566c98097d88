// A strict reader of FANN's text files (networks and training data): it accepts only what
// FANN's own scanf formats read the same way, so that a file it passes reaches FANN as it
// was checked.
#pragma once

#include <cstdint>
#include <string>

class FannText
{
public:
    // The text is borrowed and must outlive the reader.
    explicit FannText(const std::string& text) : text(text) {}

    // Skips a run of white space, as a blank in a scanf format does (none is a run too).
    void skipBlanks();
    // The literal; each blank in it stands for a run of white space, as in a scanf format.
    bool literal(const char* expected);
    // Plain decimal digits that fit 32 bits: no sign, which FANN's "%u" would wrap.
    bool number(std::uint32_t& value);
    // A finite decimal number: no "nan", "inf" or hexadecimal, nothing that overflows.
    bool number(float& value);
    // Only white space is left.
    bool atEnd();

    // The line (from 1) the reader has come to.
    int line() const { return currentLine; }
    // "line N: " and the problem, for messages.
    std::string at(const std::string& problem) const;

private:
    bool blank() const;

    const std::string& text;
    std::size_t position = 0;
    int currentLine = 1;
};
