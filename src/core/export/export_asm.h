#pragma once

#include "core/export/export_formats.h"

#include <string>

namespace tessra {

// The asm format's source in one syntax: the map's WIDTH and HEIGHT and each
// array's SIZE as global constants, then each array's bytes under a global
// label, in a read-only section. The source can be assembled alone or
// included in another; where the assembler allows, the including file's
// section is kept.
std::string WriteAsmSource(const ExportContent& content, AsmSyntax syntax);

} // namespace tessra
