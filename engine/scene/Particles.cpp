#include "engine/scene/Particles.h"

#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "engine/scene/ScriptParser.h"
#include "platform/Platform.h"

#include <algorithm>
#include <array>

namespace {

constexpr float PARTICLE_SIZE_FACTOR = 0.4f;
constexpr float PARTICLE_TEXTURE_SPAN = 1.1f;
constexpr int BLEND_COUNTDOWN_STEP_LIMIT = 100;
constexpr int RENDER_STATE_BLEND_LEVEL = 5;
constexpr int RENDER_STATE_BLEND_FULL = 22;

std::array<ParticleEmitter, PARTICLE_EMITTER_COUNT> s_Emitters;
ParticleView s_View;
int s_BlendCountdown = 0;

void StepParticle(Particle& particle)
{
    for (int i = 0; i < 3; ++i) {
        particle.velocity[i] += particle.acceleration[i];
        particle.position[i] += particle.velocity[i];
        particle.colour[i] = std::clamp(particle.colour[i] + particle.colourChange[i], 0.0f, 1.0f);
    }
    ++particle.age;
}

} // namespace

void ClearParticles()
{
    plat::SeedRand(plat::TimeGetTime());
    for (ParticleEmitter& emitter : s_Emitters) {
        emitter.count = 0;
        emitter.particles.reset();
    }
}

void UpdateParticles()
{
    for (ParticleEmitter& emitter : s_Emitters) {
        if (emitter.count <= 0 || !emitter.particles)
            continue;
        if (emitter.particles[0].age > PARTICLE_MAX_AGE) {
            emitter.particles.reset();
            emitter.count = 0;
            continue;
        }
        for (int i = 0; i < emitter.count; ++i) {
            StepParticle(emitter.particles[i]);
        }
        DrawParticles(emitter.particles.get(), emitter.count);
    }
}

void DrawParticles(const Particle* particles, int count)
{
    if (particles == nullptr || count <= 0)
        return;
    int texture = GetTextureByName(u"particle");
    if (texture == 0)
        texture = -1;
    Raster* const raster = GetRaster();
    const Matrix4& view = GetGameDisplay()->m_ViewMatrix;
    for (int i = 0; i < count; ++i) {
        const Particle& particle = particles[i];
        const Vector3 p = Matrix4::TransformPoint(
            view, Vector3{particle.position[0], particle.position[1], particle.position[2]});
        const float w = p.z;
        if (!(w > 1.0f))
            continue;
        const float scale = s_View.focal / w;
        const float size = std::max(scale * PARTICLE_SIZE_FACTOR, 1.0f);
        const float screenX = p.x * scale + s_View.centreX;
        const float screenY = s_View.centreY - scale * s_View.aspect * p.y;
        if (!(screenX >= 0.0f && screenX <= static_cast<float>(raster->GetWidth()) && screenY >= 0.0f &&
              screenY <= static_cast<float>(raster->GetHeight())))
            continue;
        if (s_BlendCountdown != 0) {
            if (s_BlendCountdown <= BLEND_COUNTDOWN_STEP_LIMIT)
                raster->SetRenderState(RENDER_STATE_BLEND_LEVEL, s_BlendCountdown / 2);
            else
                raster->SetRenderState(RENDER_STATE_BLEND_FULL, 0);
        }
        TriangleVertices t;
        t.x0 = screenX;
        t.y0 = screenY;
        t.x1 = screenX + size;
        t.y1 = screenY;
        t.x2 = screenX;
        t.y2 = screenY + size;
        t.z0 = t.z1 = t.z2 = w;
        t.u0 = 0.0f;
        t.u1 = PARTICLE_TEXTURE_SPAN;
        t.u2 = 0.0f;
        t.v0 = 0.0f;
        t.v1 = 0.0f;
        t.v2 = PARTICLE_TEXTURE_SPAN;
        t.r0 = t.r1 = t.r2 = particle.colour[0];
        t.g0 = t.g1 = t.g2 = particle.colour[1];
        t.b0 = t.b1 = t.b2 = particle.colour[2];
        t.texture = texture;
        raster->DrawTriangle(t);
    }
}

ParticleEmitter* AddParticleEmitter(int count)
{
    if (count <= 0)
        return nullptr;
    for (ParticleEmitter& emitter : s_Emitters) {
        if (emitter.count == 0) {
            emitter.particles = std::make_unique<Particle[]>(static_cast<std::size_t>(count));
            emitter.count = count;
            return &emitter;
        }
    }
    return nullptr;
}

ParticleEmitter& GetParticleEmitter(int index)
{
    TESSEL_ASSERT(index >= 0 && index < PARTICLE_EMITTER_COUNT);
    return s_Emitters[static_cast<std::size_t>(std::clamp(index, 0, PARTICLE_EMITTER_COUNT - 1))];
}

ParticleView& GetParticleView()
{
    return s_View;
}

void SetParticleBlendCountdown(int frames)
{
    s_BlendCountdown = frames;
}

int GetParticleBlendCountdown()
{
    return s_BlendCountdown;
}
