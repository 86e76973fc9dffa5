#!/bin/sh
# Started hidden by gridmerk's "NOAA Website" button, in gridmerk's start
# folder: opens NOAA's shoreline pages, where coastlines can be downloaded
# as position lists, in the desktop's web browser.
exec xdg-open "https://www.ngdc.noaa.gov/mgg/shorelines/" >/dev/null 2>&1
