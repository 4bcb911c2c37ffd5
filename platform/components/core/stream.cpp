#include "platform/components/core/stream.h"
