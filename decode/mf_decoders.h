// The Media Foundation decoders of playback on Windows (mf_video_decoder_win.cpp,
// mf_aac_decoder_win.cpp): thin adapters over the Qt-free core in playback/mf.
#pragma once

#include "decode/decoder.h"

namespace nivra {

// Makes MfVideoDecoder for codec 1 or 2 on the graphics card or in software,
// or returns null with *reason (translated, context "Decoder").
std::unique_ptr<VideoDecoder> makeMfVideoDecoder(int codec, bool graphicsCard, QString *reason);

// Makes MfAacDecoder, or returns null with *reason.
std::unique_ptr<AudioDecoder> makeMfAacDecoder(bool headerless, int sampleRate, int channels, int objectType,
                                               QString *reason);

// True when Windows lists a decoder for the codec.
bool mfHasSystemDecoder(int codec);

} // namespace nivra
