// Reads an Ogg file whole before the decoding library opens it, and refuses files whose Vorbis
// setup headers the library would mishandle (see CVorbisSetup). Looks at every page the library
// could find by seeking, not only those met front to back. Decodes no audio. Any thread.
#pragma once

#include <string>

class COggFileCheck {
public:
    // False with `problem` set for a file that is missing, not a regular file, over 256 MiB, has
    // a page inside another page or out of place (of a chained part after the next part began, of
    // no stream that began, out of its stream's order, or beginning a stream that began beside
    // it), has a Vorbis stream with damaged, cut or refused headers, or one without its last page
    // (the file was cut short), or has a chained part that begins no Vorbis stream beside parts
    // that do.
    // A file without Vorbis streams passes: the library itself refuses it.
    static bool check(const std::string& path, std::string& problem);
};
