#include "EngineError.h"

EngineError::EngineError(Kind kind, const std::string& message)
    : std::runtime_error(message), m_kind(kind)
{}
