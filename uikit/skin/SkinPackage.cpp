#include "Resources.h"

extern "C" const unsigned char vk_skin_package_begin[];
extern "C" const unsigned char vk_skin_package_end[];

namespace {

const platform::ResourceRegistration kSkinPackage(L"ZIPRES", 130, vk_skin_package_begin, vk_skin_package_end);

}  // namespace
