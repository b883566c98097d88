#version 120
// The picture exposed for the eye's adapted luminance, with the bloom added.
uniform sampler2D scene;
uniform sampler2D bloom;
uniform float inLum;

void main()
{
    vec3 colour = texture2D(scene, gl_TexCoord[0].st).rgb;
    vec3 glow = texture2D(bloom, gl_TexCoord[0].st).rgb;
    // A scene of middling brightness keeps it; brighter scenes are toned down, darker ones
    // up, within limits, as the eye adapts.
    float exposure = 0.55 / clamp(inLum, 0.25, 2.0);
    gl_FragColor = vec4(colour * exposure + glow * 0.6, 1.0);
}
