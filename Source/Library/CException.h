// CException: the base of the toolkit's exception classes. The toolkit's own
// window failures are thrown as plain message texts instead (ToolkitErrors.h).
#pragma once

class CException {
 public:
  virtual ~CException() {}
};
