#version 120
// The scene's luminance over 4 x 4 texels, on the way down to a single texel.
uniform sampler2D source;
uniform vec4 texelSize;

void main()
{
    vec2 uv = gl_TexCoord[0].st;
    float sum = 0.0;
    for (int x = -2; x < 2; ++x)
        for (int y = -2; y < 2; ++y)
        {
            vec3 colour = texture2D(source, uv + vec2(float(x) + 0.5, float(y) + 0.5) * texelSize.xy * 4.0).rgb;
            sum += dot(colour, vec3(0.27, 0.67, 0.06));
        }
    gl_FragColor = vec4(vec3(sum / 16.0), 1.0);
}
