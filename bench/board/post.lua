-- Posts the recordings named on wrk's command line in turn, each as if forwarded by a proxy on
-- this machine for another player's address, so the per-address limit counts players, not wrk.
local bodies = {}
local sent = 0

function init(args)
    for _, name in ipairs(args) do
        local file = assert(io.open(name, "rb"))
        bodies[#bodies + 1] = file:read("*a")
        file:close()
    end
end

function request()
    sent = sent + 1
    local player = string.format("10.%d.%d.%d", sent % 250, math.floor(sent / 250) % 250,
                                 math.random(1, 250))
    return wrk.format("POST", "/api/games",
                      { ["Content-Type"] = "text/plain", ["X-Forwarded-For"] = player },
                      bodies[sent % #bodies + 1])
end
