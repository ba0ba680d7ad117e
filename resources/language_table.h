#pragma once

namespace kalmor {

// The language table as the window definition stores it in tbLanguage: 25
// messages "German@English#", with CR LF pairs scattered through it that
// start-up removes. UTF-8.
extern const char* const kLanguageTableDesignText;

}  // namespace kalmor
