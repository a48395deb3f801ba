#pragma once

#include "TextCodec.h"

#include <optional>
#include <string_view>

// The encoding a template declares for itself, as a browser reads it from a
// <meta charset> or a <meta http-equiv="Content-Type"> in the head. The
// browser decodes the page by it, so the URL must be written in it, whatever
// a byte elsewhere in the template looks like.
class TemplateCharset
{
public:
    // The declared encoding when it is UTF-8 or one browsers read as
    // Windows-1252 (Latin-1 and ASCII among them); none without a
    // declaration or for another encoding.
    static std::optional<TextCodec::Encoding> declared(std::string_view templateBytes);
    // The declared encoding, or the one the bytes suggest.
    static TextCodec::Encoding of(std::string_view templateBytes);
};
