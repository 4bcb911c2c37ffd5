#include "platform/components/core/ini-file.h"
