// Everything of platform/core in one include.
#pragma once

#include "platform/core/CString.h"
#include "platform/core/Errors.h"
#include "platform/core/Geometry.h"
#include "platform/core/Locale.h"
#include "platform/core/MessageBox.h"
#include "platform/core/Messages.h"
#include "platform/core/Paths.h"
#include "platform/core/Time.h"
#include "platform/core/Types.h"
