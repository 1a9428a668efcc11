#pragma once

namespace audio {

/// A machine without a sound card makes the output libraries complain on standard error while
/// OpenAL probes them; the runtime reports that case itself, in one line, so they are hushed.
/// An explicit ALSOFT_LOGLEVEL still wins.
void QuietenOutputProbing();

}  // namespace audio
