#version 120
// This frame mixed with the blurred frames before it: 0 no blur, 1 a frozen picture.
uniform sampler2D scene;
uniform sampler2D sum;
uniform float blur;

void main()
{
    vec4 now = texture2D(scene, gl_TexCoord[0].st);
    vec4 before = texture2D(sum, gl_TexCoord[0].st);
    gl_FragColor = mix(now, before, clamp(blur, 0.0, 0.95));
}
