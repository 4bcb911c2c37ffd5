#include "platform/components/core/file-system.h"
