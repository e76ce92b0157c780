// Inside the platform layer only: our font description as Qt's.
#pragma once

#include "TFont.h"

#include <QFont>

QFont ToQFont(const TFont& font);
