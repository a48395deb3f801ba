#pragma once

#include <cstddef>
#include <functional>
#include <string>

// Where a suggestion stands: the step in German ("Alte Seiten lesen") and
// how far it is.
struct SuggestProgress
{
    std::string Step;
    std::size_t Done = 0;
    std::size_t Total = 0;
};

using SuggestProgressListener = std::function<void(const SuggestProgress&)>;
