#version 120
// What would be brighter than the white point once exposed: the part that blooms. Judged
// by luminance, so a blue sky of ordinary brightness does not bloom at all.
uniform sampler2D scene;
uniform sampler2D luminance;
uniform float key;
uniform float whitePoint;

void main()
{
    vec3 colour = texture2D(scene, gl_TexCoord[0].st).rgb;
    float exposure = key / clamp(texture2D(luminance, vec2(0.5, 0.5)).r, 0.35, 1.5);
    float exposed = dot(colour, vec3(0.27, 0.67, 0.06)) * exposure + 0.0001;
    gl_FragColor = vec4(colour * exposure * (max(exposed - whitePoint, 0.0) / exposed), 1.0);
}
