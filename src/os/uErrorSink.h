// Where the errors go that a part of the program drops and carries on from:
// a pass of the show's idle loop, a sound or music track that does not load,
// a thumbnail that does not decode. Nothing is shown to the user for them;
// a tool may print them, a test may collect them. Whoever drops an error
// gets the sink passed in; the null sink forgets everything.
#pragma once

#include <string>

namespace kx {

class IErrorSink {
 public:
  virtual ~IErrorSink() = default;
  // where names the part that dropped the error ("show", "sound", "music",
  // "thumbnail"), what is its message. Called from catch blocks and
  // destructors: it must not throw.
  virtual void Report(const std::string& where, const std::string& what) noexcept = 0;
};

// The sink that forgets every report.
IErrorSink& NullErrorSink();

}  // namespace kx
