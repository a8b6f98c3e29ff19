# The game world the tool walks into. The defaults are the demo site's
# loopback origins, so a fresh build works against demosite; a build for
# another server sets these two cache variables (see README).
set(OVEK_DEMO_TOP_PORT 18080 CACHE STRING "demosite: port of the game's public top site")
set(OVEK_DEMO_WORLD_PORT 18083 CACHE STRING "demosite: port of the world 3 server")
set(OVEK_GAME_SITE_TOP_URL "http://127.0.0.1:${OVEK_DEMO_TOP_PORT}" CACHE STRING
    "Scheme and host of the game's public top page, without a trailing slash")
set(OVEK_WORLD_BASE_URL "http://127.0.0.1:${OVEK_DEMO_WORLD_PORT}" CACHE STRING
    "Scheme and host of the world server, without a trailing slash")
