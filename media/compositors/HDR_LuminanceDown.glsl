#version 120
// The mean of 4 x 4 luminance texels.
uniform sampler2D source;
uniform vec4 texelSize;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    float sum = 0.0;
    for (int x = -2; x < 2; ++x)
        for (int y = -2; y < 2; ++y)
            sum += texture2D(source, uv + vec2(float(x) + 0.5, float(y) + 0.5) * texelSize.xy).r;
    gl_FragColor = vec4(vec3(sum / 16.0), 1.0);
}
