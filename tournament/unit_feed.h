#pragma once
// Units of work, numbered from 0, handed to the threads that do them, and their results
// taken back: from a counter on this machine, or from a coordinator on another.

#include <cstddef>
#include <optional>
#include <string>

namespace velmora {

template <class Result> class TUnitFeed {
public:
  virtual ~TUnitFeed() = default;
  // The next unit, or none when there is no more work. Called by the working threads; it
  // may wait for a unit to arrive.
  virtual std::optional<size_t> Take() = 0;
  virtual void Give(size_t unit, Result result) = 0;
  // An exception ended a working thread: the run cannot be completed.
  virtual void Fail(const std::string& message) = 0;
};

} // namespace velmora
