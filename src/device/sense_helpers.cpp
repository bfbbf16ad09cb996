#include "device/atapi_device.h"
#include "device/sense_table.h"

namespace korvalend {

bool AtapiDevice::SenseIs(std::uint8_t key, std::uint8_t asc) const {
    return lastCommand_.senseTriple.senseKey == key && lastCommand_.senseTriple.asc == asc;
}

std::string AtapiDevice::SenseCode() const {
    const SenseTriple& t = lastCommand_.senseTriple;
    return SenseCodeOf(t.senseKey, t.asc, t.ascq);
}

std::string AtapiDevice::SenseText() const {
    const SenseTriple& t = lastCommand_.senseTriple;
    return SenseTextOf(t.senseKey, t.asc, t.ascq);
}

}  // namespace korvalend
