#pragma once
// File → "Печать в Word's" on Windows: Word's own automation object, reached by name at
// run time (late binding through IDispatch), so no Word type library is needed to build.

namespace platform::windows {

// Attaches to a running "Word.Application", else creates one, adds a new document from
// the template `templateName` (a bare file name: where Word looks for it is Word's rule)
// and makes Word visible. Each step after obtaining Word that fails is skipped silently,
// as the command promises; a step Word turns away while busy is asked again, for ten
// seconds at most in all. The document and application are released on return, Word
// keeps running with the document open.
//
// Returns true when a Word application object was obtained, attached or created, even if
// a later step failed; false when there is no Word, so the caller may hand off to another
// word processor instead.
//
// Call it on a thread that is either not yet in COM or in any apartment: COM is entered
// single-threaded when the thread has no apartment yet, and left again before returning.
bool openWordDocument(const wchar_t* templateName);

} // namespace platform::windows
