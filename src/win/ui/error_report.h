// Errors that escape an event handler, a timer tick or the loop end up here.
#pragma once

#include <exception>

namespace ui {

// Reports the error through the running application's error box and returns; the
// program goes on. Without an application object the error is dropped.
void ReportException(std::exception_ptr error) noexcept;

}  // namespace ui
