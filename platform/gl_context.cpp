#include "platform/gl_context.h"

#include <mutex>

namespace platform {
namespace {

std::mutex g_factoryMutex;
GlWindowFactory g_factory;

}  // namespace

void SetGlWindowFactory(GlWindowFactory factory) {
  std::lock_guard lock(g_factoryMutex);
  g_factory = std::move(factory);
}

GlWindowResult CreateGlWindow(ViewSurface& surface, GlRenderer& renderer, const GlFormat& format) {
  GlWindowFactory factory;
  {
    std::lock_guard lock(g_factoryMutex);
    factory = g_factory;
  }
  if (!factory) return {nullptr, "no OpenGL window is available: the backend did not install one"};
  return factory(surface, renderer, format);
}

}  // namespace platform
