// Registers the resource data that rcc generated from the built pictures (qrc_examora_art.cpp).
#include "art_resources.h"

#include <QtGlobal>

// Q_INIT_RESOURCE names a function of the global namespace, so it must be used out here.
static int RegisterArtResources() {
  Q_INIT_RESOURCE(examora_art);
  return 0;
}

namespace art {

void InitResources() {
  // Referencing the generated function also keeps the linker from dropping its object file.
  [[maybe_unused]] static const int registered = RegisterArtResources();
}

}  // namespace art
