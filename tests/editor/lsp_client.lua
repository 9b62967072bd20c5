-- Neovim (0.7, headless) as the language server's client: opens a Shift-JIS score with CR LF
-- line ends, checks the published diagnostics and two hovers, runs the stereo conversion
-- as a command, edits the error away and stops the server.
--   BIVOX_CLI=build/src/bivox-cli BIVOX_WORK=DIR nvim --headless -u NONE -i NONE -n \
--     -c 'luafile tests/editor/lsp_client.lua'
-- Prints what it received; exits with status 1 on the first failed check.

local cli = assert(os.getenv('BIVOX_CLI'), 'BIVOX_CLI names bivox-cli')
local work = assert(os.getenv('BIVOX_WORK'), 'BIVOX_WORK names a directory to work in')
local timeout = 10000

local function say(...)
  io.stdout:write(string.format(...), '\n')
end

local function check(ok, ...)
  if not ok then
    error(string.format(...), 0)
  end
end

-- The score: a Japanese comment line, a note on track Z, a note between a member
-- declaration and its attribute settings (a diagnostic at the end of line 3), and "$$$"
-- after Japanese text, which is not understood.
local score_lines = {
  '/* 練習曲 ト長調 */',
  '#Z0 x1 c',
  '#A0 x1 o4',
  '@B V100 c V90',
  '!- 旋律 -! cdef g4 $$$',
}
local score = work .. '/score.zrb'

local function write_score()
  local text = table.concat(score_lines, '\r\n') .. '\r\n'
  local file = assert(io.open(score, 'wb'))
  file:write(vim.fn.iconv(text, 'utf-8', 'cp932'))
  file:close()
end

local published = {}
local exit_code

local function start_server()
  return vim.lsp.start_client({
    name = 'bivox',
    cmd = { cli, 'lsp' },
    root_dir = work,
    flags = { debounce_text_changes = 0 },
    handlers = {
      ['textDocument/publishDiagnostics'] = function(err, result, ctx, config)
        table.insert(published, result)
        return vim.lsp.handlers['textDocument/publishDiagnostics'](err, result, ctx, config)
      end,
      ['window/showMessage'] = function(_, result)
        say('message from the server: %s', result.message)
      end,
    },
    on_exit = function(code)
      exit_code = code
    end,
  })
end

local function print_diagnostics(diagnostics)
  for _, d in ipairs(diagnostics) do
    say('  %d:%d-%d:%d severity %d: %s', d.range.start.line, d.range.start.character,
      d.range['end'].line, d.range['end'].character, d.severity, d.message)
  end
end

-- Waits for a publication that `accept` takes, and gives its diagnostics.
local function wait_for_diagnostics(what, accept)
  local found
  local ok = vim.wait(timeout, function()
    for _, result in ipairs(published) do
      if accept(result.diagnostics) then
        found = result.diagnostics
      end
    end
    return found ~= nil
  end, 20)
  check(ok, 'no diagnostics %s within %d ms', what, timeout)
  say('diagnostics %s (publication %d):', what, #published)
  print_diagnostics(found)
  return found
end

local function find(diagnostics, severity)
  for _, d in ipairs(diagnostics) do
    if d.severity == severity then
      return d
    end
  end
end

local function expect_at(d, line, character, text)
  check(d ~= nil, 'missing diagnostic at %d:%d', line, character)
  check(d.range.start.line == line and d.range.start.character == character,
    'diagnostic "%s" at %d:%d, expected %d:%d', d.message, d.range.start.line,
    d.range.start.character, line, character)
  check(d.message:find(text, 1, true), 'diagnostic "%s" does not hold "%s"', d.message, text)
end

local function hover(bufnr, line, character)
  local params = {
    textDocument = { uri = vim.uri_from_bufnr(bufnr) },
    position = { line = line, character = character },
  }
  local replies = vim.lsp.buf_request_sync(bufnr, 'textDocument/hover', params, timeout)
  check(replies ~= nil, 'no hover reply for %d:%d', line, character)
  local _, reply = next(replies)
  check(reply.result ~= nil, 'no hover at %d:%d', line, character)
  local text = reply.result.contents.value
  say('hover at %d:%d: %s', line, character, (text:gsub('\n+', ' | ')))
  return text
end

local function run()
  write_score()
  local client = start_server()
  check(client ~= nil, 'the server did not start')
  vim.cmd('edit ++enc=cp932 ++ff=dos ' .. vim.fn.fnameescape(score))
  local bufnr = vim.api.nvim_get_current_buf()
  check(vim.bo.fileencoding == 'cp932' and vim.bo.fileformat == 'dos', 'the score is not read as cp932 with CR LF')
  vim.lsp.buf_attach_client(bufnr, client)

  -- Line and character count UTF-16 code units: "旋律" is two characters.
  local first = wait_for_diagnostics('on open', function(diagnostics)
    return #diagnostics > 0
  end)
  check(#first == 2, '%d diagnostics, expected 2', #first)
  expect_at(find(first, vim.lsp.protocol.DiagnosticSeverity.Warning), 3, 13, '音が挟まれました')
  expect_at(find(first, vim.lsp.protocol.DiagnosticSeverity.Error), 4, 17, 'not understood from here on')

  -- "g4" on line 5: G4 placed at the top of the range C4..G4; "c" on track Z: left alone.
  local placed = hover(bufnr, 4, 14)
  check(placed:find('G4', 1, true) and placed:find('pitch 55', 1, true), 'pitch of g4 wrong')
  check(placed:find('@S+56', 1, true), 'pan of g4 wrong')
  local left = hover(bufnr, 1, 7)
  check(left:find('pitch 48', 1, true) and left:find('track Z is left alone', 1, true), 'track Z note wrong')

  -- Several edits in a row: remove "$$$" one character at a time; the error goes away.
  for _ = 1, 3 do
    local line = vim.api.nvim_buf_get_lines(bufnr, 4, 5, true)[1]
    local at = line:find('$', 1, true)
    vim.api.nvim_buf_set_text(bufnr, 4, at - 1, 4, at, { '' })
  end
  local fixed = wait_for_diagnostics('after the edits', function(diagnostics)
    return #diagnostics == 1 and diagnostics[1].severity == vim.lsp.protocol.DiagnosticSeverity.Warning
  end)
  expect_at(fixed[1], 3, 13, '展開して下さい')

  -- The stereo conversion of the edited text, written beside the score; the test's script
  -- compares it with bivox-cli's output for the saved score.
  local replies = vim.lsp.buf_request_sync(bufnr, 'workspace/executeCommand',
    { command = 'bivox.stereo', arguments = { vim.uri_from_bufnr(bufnr) } }, timeout)
  local _, reply = next(replies)
  check(reply.result and reply.result.complete, 'stereo command failed: %s', vim.inspect(reply))
  say('stereo command wrote %s', reply.result.output)
  vim.cmd('silent write')

  vim.lsp.stop_client(client)
  check(vim.wait(timeout, function()
    return exit_code ~= nil
  end, 20), 'the server did not exit')
  check(exit_code == 0, 'the server exited with %d', exit_code)
  say('the server shut down with exit status 0')
end

local ok, failure = pcall(run)
if ok then
  say('PASS')
  vim.cmd('qall!')
else
  say('FAIL: %s', failure)
  vim.cmd('cquit 1')
end
