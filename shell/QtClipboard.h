#pragma once

#include "Clipboard.h"

// The system clipboard.
class QtClipboard final : public Clipboard
{
public:
    QString text() const override;
    void setText(const QString& text) override;
    void clear() override;
};
