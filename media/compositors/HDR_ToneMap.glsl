#version 120
// The picture exposed for the eye's adapted luminance, with the bloom added.
uniform sampler2D scene;
uniform sampler2D bloom;
uniform float inLum;

void main()
{
    vec3 colour = texture2D(scene, gl_TexCoord[0].st).rgb;
    vec3 glow = texture2D(bloom, gl_TexCoord[0].st).rgb;
    // A mid grey scene keeps its brightness; brighter scenes are toned down, darker up.
    float exposure = 0.45 / clamp(inLum, 0.1, 2.0);
    vec3 exposed = colour * exposure;
    exposed = exposed / (1.0 + exposed * 0.25);
    gl_FragColor = vec4(exposed + glow * 0.6, 1.0);
}
