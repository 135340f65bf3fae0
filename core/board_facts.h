#pragma once
/// \file
/// What the editors know of the programmer board without reaching the link:
/// whether the pager last written had a firmware byte the synthesizer
/// tables do not know, and the capcode auto-increase that turns a write into
/// the repeated write. The board session keeps these; the frequency and
/// capcode editors read and set them through this interface.

namespace zrv {

/// "1st Capcode Auto Increase" and "2nd Capcode Auto Increase": after each
/// successful write of the repeated write the first or second capcode of
/// the page goes up by one. Kept for the run, never stored in the image.
struct CapcodeAutoIncrease {
    bool first = false;
    bool second = false;
    /// True when a write becomes the repeated write.
    bool any() const { return first || second; }
};

class BoardFacts {
public:
    virtual ~BoardFacts() = default;
    /// True when the pager last written had no firmware byte (0xFF): the
    /// frequency rules then use the raster plan for an unknown firmware.
    virtual bool firmwareUnknown() const = 0;
    /// The capcode auto-increase the next write uses.
    virtual CapcodeAutoIncrease autoIncrease() const = 0;
    virtual void setAutoIncrease(CapcodeAutoIncrease increase) = 0;
};

}  // namespace zrv
