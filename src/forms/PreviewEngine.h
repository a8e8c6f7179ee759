#pragma once

// The browser engine of the preview, made ready before the application
// object is made: the preview folder's address, and the page features the
// shipped designs rely on.
namespace PreviewEngine {

void prepare();

} // namespace PreviewEngine
