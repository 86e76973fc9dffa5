#include "nav/NavTypes.h"

#include "rtl/LittleEndian.h"

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
    rtl::StoreLE<int16_t>(dst, set);
    rtl::StoreLE<int16_t>(dst + 2, rate);
}

TideFlow TideFlow::load(const uint8_t* src)
{
    return { rtl::LoadLE<int16_t>(src), rtl::LoadLE<int16_t>(src + 2) };
}
