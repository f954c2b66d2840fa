#pragma once

#include <QString>
#include <cstdint>
#include <optional>

class QWidget;

// Asks for a deal's number (0 to 4294967295), offering the one on the table. None when the
// player cancels.
std::optional<uint32_t> AskDealNumber(QWidget* parent, std::optional<uint32_t> current);

// The number a text names, or none: decimal digits only, at most 4294967295.
std::optional<uint32_t> ParseDealNumber(const QString& text);
