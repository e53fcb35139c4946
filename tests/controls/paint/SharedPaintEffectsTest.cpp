#include "controls/paint/SharedPaintEffects.h"
#include "controls/paint/PaintEffects.h"

#include <gtest/gtest.h>

namespace pelmora {
namespace {

TEST(EnsurePaintEffects, OneSharedInstanceUntilReleased) {
    PaintEffects& first = EnsurePaintEffects();
    EXPECT_EQ(&EnsurePaintEffects(), &first);
    EXPECT_EQ(SharedPaintEffects(), &first);
    ReleasePaintEffects();
    EXPECT_EQ(SharedPaintEffects(), nullptr);
    EnsurePaintEffects();
    EXPECT_NE(SharedPaintEffects(), nullptr);
    ReleasePaintEffects();
}

} // namespace
} // namespace pelmora
