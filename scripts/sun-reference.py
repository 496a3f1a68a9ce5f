#!/usr/bin/python3
# Writes the reference sun events of 2006 that tests/reports/sun_reference_test.cpp checks
# the program's sun computation against, from an independent ephemeris library
# (Debian: python3-ephem). Run: scripts/sun-reference.py > tests/reports/data/sun_events_2006.txt
#
# Each line: site year month day, then the universal time in minutes after midnight of the
# date (may fall outside 0-1439 for far east or west sites) of astronomical, nautical and civil
# twilight begin, sunrise, sunset, civil, nautical and astronomical twilight end; "-" when the
# event does not occur. Sunrise and sunset are the sun's centre 0.833 degrees below the
# horizon, twilights 6, 12 and 18 degrees, without refraction (pressure 0).
import datetime
import ephem

SITES = [("bay", 37.6, -122.1), ("sydney", -33.9, 151.2), ("stjohns", 47.5, -52.7),
         ("north70", 70.0, 20.0)]
ALTITUDES = ["-18", "-12", "-6", "-0:50"]


def event(obs, sun, noon, altitude, rise):
    obs.horizon = altitude
    try:
        when = obs.previous_rising(sun, start=noon, use_center=True) if rise else \
            obs.next_setting(sun, start=noon, use_center=True)
    except (ephem.AlwaysUpError, ephem.NeverUpError):
        return "-"
    dt = when.datetime()
    # Minutes after the midnight (universal time) that begins the date of local noon.
    base = datetime.datetime(noon_date.year, noon_date.month, noon_date.day)
    return str(round((dt - base).total_seconds() / 60.0))


for name, lat, lon in SITES:
    obs = ephem.Observer()
    obs.lat, obs.lon = str(lat), str(lon)
    obs.pressure = 0
    obs.elevation = 0
    sun = ephem.Sun()
    day = datetime.date(2006, 1, 1)
    while day.year == 2006:
        noon_date = day
        # Local solar noon of the date, in universal time.
        noon = ephem.Date(datetime.datetime(day.year, day.month, day.day, 12) -
                          datetime.timedelta(hours=lon / 15.0))
        rises = [event(obs, sun, noon, a, True) for a in ALTITUDES]
        sets = [event(obs, sun, noon, a, False) for a in reversed(ALTITUDES)]
        print(name, day.year, day.month, day.day, *rises, *sets)
        day += datetime.timedelta(days=1)
