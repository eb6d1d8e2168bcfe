#include "ui/tool_window_context.h"
