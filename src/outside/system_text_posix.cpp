#include "outside/system_text.h"

namespace tessaro {

void UseUtf8Console() {}

std::optional<unsigned> SystemCodePage() { return std::nullopt; }

std::string FromSystemCodePage(std::string_view bytes) { return std::string(bytes); }

}  // namespace tessaro
