#version 120
// The sky dome's colour. The vertex half works out how much of the sky's light a point of
// the dome loses on its way through the air (more away from the sun); the fragment half
// reads the gradient column the sky colour model chose and darkens and tints it.

#ifdef SKY_VERTEX_PROGRAM
uniform mat4 worldViewProj;
uniform vec3 sunDirection;     // where the sunlight travels
uniform float lightAbsorption; // 0 clear air .. 1 thick air

varying float absorption;
varying float towardsSun;

void main()
{
    gl_Position = worldViewProj * gl_Vertex;
    gl_TexCoord[0] = gl_MultiTexCoord0;
    vec3 direction = normalize(gl_Vertex.xyz);
    // 1 looking at the sun, 0 looking away from it.
    towardsSun = 0.5 * dot(direction, -normalize(sunDirection)) + 0.5;
    absorption = lightAbsorption * (1.0 - towardsSun);
}
#endif

#ifdef SKY_FRAGMENT_PROGRAM
uniform sampler2D gradient;
uniform float offset;               // the gradient column: the sun's elevation
uniform float atmosphereInvHeight;  // bigger: a thinner band of haze at the horizon
uniform float lightInvScattering;   // bigger: less glow round the sun

varying float absorption;
varying float towardsSun;

void main()
{
    float height = gl_TexCoord[0].t;  // 0 zenith, 1 horizon, 2 nadir
    vec4 sky = texture2D(gradient, vec2(offset, clamp(height, 0.0, 1.0)));
    // Haze close to the horizon, where the light crosses the most air.
    float haze = clamp(1.0 - (1.0 - clamp(height, 0.0, 1.0)) * atmosphereInvHeight * 0.04, 0.0, 1.0);
    float glow = haze * towardsSun * towardsSun / (1.0 + lightInvScattering);
    vec3 colour = sky.rgb * (1.0 - absorption * haze) + vec3(1.0, 0.85, 0.6) * glow * 0.25;
    gl_FragColor = vec4(colour, sky.a);
}
#endif
