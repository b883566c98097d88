#version 120
// The picture exposed for the eye's adapted luminance, with the bloom added. The exposure
// brings the scene's mean to the key; the curve then rolls the highlights off towards the
// white point instead of clipping them, so a bright sky over a dark field keeps its colour.
uniform sampler2D scene;
uniform sampler2D bloom;
uniform float inLum;
uniform float key;
uniform float whitePoint;

void main()
{
    vec3 colour = texture2D(scene, gl_TexCoord[0].st).rgb;
    vec3 glow = texture2D(bloom, gl_TexCoord[0].st).rgb;
    // Within limits, as the eye adapts: a night stays dark, a glare is toned down.
    float exposure = key / clamp(inLum, 0.35, 1.5);
    float exposed = dot(colour, vec3(0.27, 0.67, 0.06)) * exposure;
    // Scaling every channel alike keeps the hue.
    float scale = exposure * (1.0 + exposed / (whitePoint * whitePoint)) / (1.0 + exposed);
    gl_FragColor = vec4(colour * scale + glow, 1.0);
}
