// The arithmetic of the picture library's pixel value.
#include "graphics/ToyColour.h"

ToyColour::ToyColour(std::uint8_t r, std::uint8_t g, std::uint8_t b, std::uint8_t a)
    : red(fromByte(r)), green(fromByte(g)), blue(fromByte(b)), alpha(fromByte(a))
{
}

ToyColour::ToyColour(float r, float g, float b, float a) : red(r), green(g), blue(b), alpha(a)
{
}

ToyColour::ToyColour(std::uint8_t g, std::uint8_t a) : ToyColour(fromByte(g), fromByte(a))
{
}

ToyColour::ToyColour(float g, float a) : red(g), green(g), blue(g), grey(g), alpha(a), kind(kGrey)
{
}

ToyColour::ToyColour(const ToyColour& under, const ToyColour& over, float factor)
{
    const float overWeight = over.alpha * factor;
    const float underWeight = (1.0f - overWeight) * under.alpha;
    const float total = underWeight + overWeight;
    // Both sides transparent: 0/0. A transparent black is the value that means "nothing here".
    auto mix = [&](float overValue, float underValue) {
        return total == 0.0f ? 0.0f : (overValue * overWeight + underWeight * underValue) / total;
    };
    grey = mix(over.grey, under.grey);
    alpha = total;
    kind = kGrey;
    red = green = blue = grey;
    if (under.kind == kColour || over.kind == kColour)
    {
        red = mix(over.red, under.red);
        green = mix(over.green, under.green);
        blue = mix(over.blue, under.blue);
        kind = kColour;
    }
}

void ToyColour::setRed(std::uint8_t value) { red = fromByte(value); }
void ToyColour::setGreen(std::uint8_t value) { green = fromByte(value); }
void ToyColour::setBlue(std::uint8_t value) { blue = fromByte(value); }
void ToyColour::setAlpha(std::uint8_t value) { alpha = fromByte(value); }

void ToyColour::setGrey(std::uint8_t value) { setGrey(fromByte(value)); }

void ToyColour::setGrey(float value)
{
    grey = red = green = blue = value;
}

float ToyColour::getGrey() const
{
    if (kind == kGrey)
        return grey;
    if (alpha == 0.0f)
        return 1.0f;
    return 0.3f * red + 0.59f * green + 0.11f * blue;
}

ToyColour& ToyColour::operator*=(float factor)
{
    red *= factor;
    green *= factor;
    blue *= factor;
    grey *= factor;
    alpha *= factor;
    return *this;
}

ToyColour& ToyColour::operator*=(const ToyColour& other)
{
    alpha *= other.alpha;
    if (kind == kGrey)
    {
        setGrey(other.getGrey() * grey);
    }
    else if (other.kind == kColour)
    {
        red *= other.red;
        green *= other.green;
        blue *= other.blue;
        grey *= other.grey;
    }
    else
    {
        red *= other.grey;
        green *= other.grey;
        blue *= other.grey;
        grey *= other.grey;
    }
    return *this;
}

std::uint8_t ToyColour::toByte(float value)
{
    // Values past the 16-bit range (and NaN) would make the conversion undefined: pin them
    // to the range's ends, so that every value inside it keeps its wrapped low byte.
    float scaled = value * 255.0f;
    if (!(scaled > -32768.0f))
        scaled = scaled < 0.0f ? -32768.0f : 0.0f;
    if (scaled > 32767.0f)
        scaled = 32767.0f;
    return static_cast<std::uint8_t>(static_cast<std::int16_t>(scaled));
}

ToyColour operator*(ToyColour colour, float factor)
{
    return colour *= factor;
}

ToyColour operator*(ToyColour colour, const ToyColour& other)
{
    return colour *= other;
}
