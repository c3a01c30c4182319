// Particles: lifetime, movement, colour clamping and which particles are drawn.
#include "engine/scene/Particles.h"

#include "engine/raster/Raster.h"
#include "engine/scene/GameDisplay.h"
#include "platform/Headless.h"

#include <gtest/gtest.h>

namespace {

class ParticlesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ClearParticles();
        ASSERT_EQ(GetRaster()->Init(1024, 768, 1024.0f, 768.0f, u"test", 20000.0f, 0, false), 1);
        GetParticleView() = ParticleView{};
        SetParticleBlendCountdown(0);
        GetRaster()->BeginFrame();
    }

    void TearDown() override
    {
        ClearParticles();
        GetRaster()->Shutdown();
    }

    static Particle& One(float x, float y, float z)
    {
        ParticleEmitter* emitter = AddParticleEmitter(1);
        EXPECT_NE(emitter, nullptr);
        Particle& p = emitter->particles[0];
        p.position[0] = x;
        p.position[1] = y;
        p.position[2] = z;
        return p;
    }
};

TEST_F(ParticlesTest, AnEmitterLives31UpdatesThenIsFreed)
{
    Particle& p = One(0, 0, 10);
    p.age = 30;
    UpdateParticles();
    EXPECT_EQ(GetParticleEmitter(0).count, 1);
    EXPECT_EQ(GetParticleEmitter(0).particles[0].age, 31u);
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 1);
    UpdateParticles();
    EXPECT_EQ(GetParticleEmitter(0).count, 0);
    EXPECT_EQ(GetParticleEmitter(0).particles, nullptr);
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 1);
}

TEST_F(ParticlesTest, MovementAccumulatesAndColoursClamp)
{
    Particle& p = One(1, 2, 10);
    p.velocity[0] = 1.0f;
    p.acceleration[0] = 0.5f;
    p.colour[0] = 0.9f;
    p.colourChange[0] = 0.2f;
    p.colour[1] = 0.1f;
    p.colourChange[1] = -0.2f;
    p.colour[2] = 0.5f;
    p.colourChange[2] = 0.1f;
    UpdateParticles();
    const Particle& q = GetParticleEmitter(0).particles[0];
    EXPECT_FLOAT_EQ(q.velocity[0], 1.5f);
    EXPECT_FLOAT_EQ(q.position[0], 2.5f);
    EXPECT_FLOAT_EQ(q.colour[0], 1.0f);
    EXPECT_FLOAT_EQ(q.colour[1], 0.0f);
    EXPECT_FLOAT_EQ(q.colour[2], 0.6f);
}

TEST_F(ParticlesTest, ParticlesBehindTheViewerOrOffTheRasterAgeButAreNotDrawn)
{
    One(0, 0, 0.5f);       // w at most 1
    One(0, 0, 1.0f);       // exactly 1
    One(5000, 0, 2.0f);    // right of the raster
    One(0, -5000, 2.0f);   // below it
    One(0, 0, 2.0f);       // drawn
    UpdateParticles();
    EXPECT_EQ(GetRaster()->GetQueuedCount(), 1);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(GetParticleEmitter(i).particles[0].age, 1u) << i;
    }
}

TEST_F(ParticlesTest, EmittersAreLimitedTo250)
{
    for (int i = 0; i < PARTICLE_EMITTER_COUNT; ++i) {
        ASSERT_NE(AddParticleEmitter(2), nullptr);
    }
    EXPECT_EQ(AddParticleEmitter(2), nullptr);
    EXPECT_EQ(AddParticleEmitter(0), nullptr);
}

} // namespace
