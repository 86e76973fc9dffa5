#include "nav/NavTypes.h"

namespace
{

void StoreInt16(int16_t value, uint8_t* dst)
{
    const auto bits = static_cast<uint16_t>(value);
    dst[0] = static_cast<uint8_t>(bits & 0xFF);
    dst[1] = static_cast<uint8_t>(bits >> 8);
}

int16_t LoadInt16(const uint8_t* src)
{
    return static_cast<int16_t>(static_cast<uint16_t>(src[0] | (src[1] << 8)));
}

} // namespace

void ChartPoint::store(uint8_t* dst) const
{
    lat.toBytes(dst);
    lon.toBytes(dst + 6);
}

ChartPoint ChartPoint::load(const uint8_t* src)
{
    return { rtl::Real6::fromBytes(src), rtl::Real6::fromBytes(src + 6) };
}

void LogRecord::store(uint8_t* dst) const
{
    lat.toBytes(dst);
    lon.toBytes(dst + 6);
    time.toBytes(dst + 12);
}

LogRecord LogRecord::load(const uint8_t* src)
{
    return { rtl::Real6::fromBytes(src), rtl::Real6::fromBytes(src + 6), rtl::Real6::fromBytes(src + 12) };
}

void TidePosition::store(uint8_t* dst) const
{
    lat.toBytes(dst);
    lon.toBytes(dst + 6);
}

TidePosition TidePosition::load(const uint8_t* src)
{
    return { rtl::Real6::fromBytes(src), rtl::Real6::fromBytes(src + 6) };
}

void TideFlow::store(uint8_t* dst) const
{
    StoreInt16(set, dst);
    StoreInt16(rate, dst + 2);
}

TideFlow TideFlow::load(const uint8_t* src)
{
    return { LoadInt16(src), LoadInt16(src + 2) };
}
