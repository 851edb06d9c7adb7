#include "os/uErrorSink.h"

namespace kx {

IErrorSink& NullErrorSink() {
  class TNullErrorSink final : public IErrorSink {
   public:
    void Report(const std::string&, const std::string&) noexcept override {}
  };
  static TNullErrorSink sink;
  return sink;
}

}  // namespace kx
