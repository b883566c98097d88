// One pixel value of the picture library: red, green, blue, grey and alpha as floats 0 to 1,
// and whether the value is a colour or a grey.
#pragma once

#include <cstdint>

class ToyColour
{
public:
    static constexpr std::uint32_t kColour = 1;
    static constexpr std::uint32_t kGrey = 2;

    // A colour whose components the creating operation fills before they are read.
    ToyColour() = default;
    // Colour from bytes (each divided by 255) or from floats (stored unchanged).
    ToyColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue, std::uint8_t alpha);
    ToyColour(float red, float green, float blue, float alpha);
    // Grey from bytes or floats: the grey goes into red, green and blue too.
    ToyColour(std::uint8_t grey, std::uint8_t alpha);
    ToyColour(float grey, float alpha);
    // "over" compositing of values that are not premultiplied; grey unless either is colour.
    ToyColour(const ToyColour& under, const ToyColour& over, float factor);

    void setRed(std::uint8_t value);
    void setGreen(std::uint8_t value);
    void setBlue(std::uint8_t value);
    void setAlpha(std::uint8_t value);
    void setRed(float value) { red = value; }
    void setGreen(float value) { green = value; }
    void setBlue(float value) { blue = value; }
    void setAlpha(float value) { alpha = value; }
    // Sets grey and copies it into red, green and blue; the kind stays.
    void setGrey(std::uint8_t value);
    void setGrey(float value);

    float getRed() const { return red; }
    float getGreen() const { return green; }
    float getBlue() const { return blue; }
    float getAlpha() const { return alpha; }
    // Grey kind: the grey; colour kind: the luminance (1 when fully transparent).
    float getGrey() const;
    std::uint32_t getKind() const { return kind; }

    std::uint8_t getRedByte() const { return toByte(red); }
    std::uint8_t getGreenByte() const { return toByte(green); }
    std::uint8_t getBlueByte() const { return toByte(blue); }
    std::uint8_t getAlphaByte() const { return toByte(alpha); }
    std::uint8_t getGreyByte() const { return toByte(getGrey()); }

    // Every component, alpha included, times the factor.
    ToyColour& operator*=(float factor);
    // Component-wise product; a grey value stays grey.
    ToyColour& operator*=(const ToyColour& other);

    // Float to byte as stored lightmaps expect: times 255, truncated through a 16-bit
    // integer, low 8 bits kept (so 0.5 gives 127).
    static std::uint8_t toByte(float value);
    static float fromByte(std::uint8_t value) { return value / 255.0f; }

private:
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
    float grey = 0.0f;
    float alpha = 0.0f;
    std::uint32_t kind = kColour;
};

ToyColour operator*(ToyColour colour, float factor);
ToyColour operator*(ToyColour colour, const ToyColour& other);
