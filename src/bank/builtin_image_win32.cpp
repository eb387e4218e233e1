// The built-in image for MSVC builds, which have no assembler .incbin: the built bank file is
// an RCDATA resource named EXAMORA_BANK_IMAGE in the program itself (bank_image.rc, made in
// assets/bank and compiled into each program that links bank_image).
#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include "bank/builtin_image.h"

namespace bank {

std::string_view BuiltinImage() {
  // A resource stays mapped as long as the program runs; nothing is freed. 10 is RT_RCDATA,
  // spelled out because RT_RCDATA is a narrow-character name unless UNICODE is defined. A
  // program built without the resource gets an empty image, which no bank opens from.
  const HRSRC found = FindResourceW(nullptr, L"EXAMORA_BANK_IMAGE", MAKEINTRESOURCEW(10));
  if (found == nullptr) return {};
  const HGLOBAL loaded = LoadResource(nullptr, found);
  const DWORD size = SizeofResource(nullptr, found);
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (bytes == nullptr) return {};
  return std::string_view(static_cast<const char*>(bytes), size);
}

}  // namespace bank
