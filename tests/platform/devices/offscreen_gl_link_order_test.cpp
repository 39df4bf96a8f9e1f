// An executable that links the system's OpenGL library ahead of the
// off-screen renderer sends its gl* calls past the off-screen context. The
// context must say so instead of handing out black frames.
#include <gtest/gtest.h>

#include "platform/gl/offscreen_gl_context.h"

namespace {

TEST(OffscreenGlLinkOrderTest, GlCallsThatMissTheOffscreenRendererAreReported) {
  platform::OffscreenGlResult made = platform::CreateOffscreenGlContext({16, 16});
  ASSERT_TRUE(made.context) << made.message;
  EXPECT_FALSE(made.context->MakeCurrent());
  EXPECT_NE(made.context->LastError().find("link kelto_platform_gl first"), std::string::npos)
      << made.context->LastError();
}

}  // namespace
