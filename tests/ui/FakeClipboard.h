#pragma once

#include "Clipboard.h"

#include <stdexcept>

// A clipboard of its own for each test, which counts how it was used and can
// be made to fail like a clipboard another program holds open.
class FakeClipboard final : public Clipboard
{
public:
    QString content;
    int clears = 0;
    int writes = 0;
    bool failing = false;

    QString text() const override
    {
        failIfTold();
        return content;
    }

    void setText(const QString& text) override
    {
        failIfTold();
        ++writes;
        content = text;
    }

    void clear() override
    {
        failIfTold();
        ++clears;
        content.clear();
    }

private:
    void failIfTold() const
    {
        if (failing)
            throw std::runtime_error("clipboard not available");
    }
};
