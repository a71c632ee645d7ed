#pragma once

// The preview window lives with its parts in gui/preview/; windows written against this
// path still find it here.
#include "gui/preview/model_window.h"
