#version 120
// One direction of the bloom's 15-tap Gaussian blur; the game sets the taps.
uniform sampler2D source;
uniform vec4 sampleOffsets[15];
uniform vec4 sampleWeights[15];

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    vec4 sum = vec4(0.0);
    for (int i = 0; i < 15; ++i)
        sum += texture2D(source, uv + sampleOffsets[i].xy) * sampleWeights[i];
    gl_FragColor = vec4(sum.rgb, 1.0);
}
