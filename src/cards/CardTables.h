#pragma once

#include <QString>

/// The statements issued on the card and category tables.
namespace CardTables {
} // namespace CardTables
