#pragma once
// The resource set beyond the dialog templates, as the toolkits without
// Windows resources read it: string table and pictures built into the program.
#include <cstdint>
#include <span>
#include <string>

enum class ResourceType { Icon, Clip, Bitmap };

// The bytes of a picture resource in its file form: a whole .ico file for an
// icon group (128), a RIFF AVI for a clip (129), a whole .bmp file for a
// bitmap (135). Empty when the type and number name no resource.
std::span<const std::uint8_t> resourceData(ResourceType type, int id);

// The text of string `id` in UTF-8; empty when the table has no such string.
std::string loadResourceString(int id);
