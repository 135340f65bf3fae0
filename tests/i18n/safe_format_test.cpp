#include <gtest/gtest.h>
#include "i18n/safe_format.h"
