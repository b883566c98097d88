#version 120
// What stands out against the scene's mean luminance: the part that blooms.
uniform sampler2D scene;
uniform sampler2D luminance;

void main()
{
    vec3 colour = texture2D(scene, gl_TexCoord[0].st).rgb;
    float mean = max(texture2D(luminance, vec2(0.5, 0.5)).r, 0.05);
    vec3 bright = max(colour - vec3(mean * 1.4), vec3(0.0));
    gl_FragColor = vec4(bright, 1.0);
}
