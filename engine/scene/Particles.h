// Particles: up to 250 emitters, each a block of particles that fly, change colour and die together after
// 31 updates. A producer fills a free emitter's array and count; the frame tick updates and draws them.
#pragma once

#include <cstdint>
#include <memory>

constexpr int PARTICLE_EMITTER_COUNT = 250;
// An emitter lives while its first particle's age is at most this.
constexpr std::uint32_t PARTICLE_MAX_AGE = 30;

struct Particle {
    float position[3] = {};
    float velocity[3] = {};
    float acceleration[3] = {};
    float colour[3] = {};  // 0.0-1.0
    float colourChange[3] = {};
    std::uint32_t age = 0;
};

struct ParticleEmitter {
    int count = 0;  // 0: free
    std::unique_ptr<Particle[]> particles;
};

// How particles are projected onto the screen.
struct ParticleView {
    float focal = 512.0f;
    float centreX = 512.0f;
    float centreY = 384.0f;
    float aspect = 1.0f;
};

// Start-up: seeds the generator with the clock and empties every emitter.
void ClearParticles();
// Per frame: ages, moves and draws every live emitter; frees those whose time is up.
void UpdateParticles();
// Queues one emitter's particles as textured triangles.
void DrawParticles(const Particle* particles, int count);

// A free emitter for count particles, or null when all are in use or count is not positive.
ParticleEmitter* AddParticleEmitter(int count);
ParticleEmitter& GetParticleEmitter(int index);
ParticleView& GetParticleView();
// The frame tick's blend countdown: while not 0 particles are drawn blended.
void SetParticleBlendCountdown(int frames);
int GetParticleBlendCountdown();
