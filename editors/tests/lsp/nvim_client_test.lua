-- Runs in headless Neovim started with the README's lines as its init.lua
-- (see lsp_nvim_test.sh): opens a program with a trap, checks its filetype
-- and colours, and asks the server through Neovim's client for diagnostics,
-- hover, completion and definition; then kills the server and expects a new
-- one for the buffers that follow.
-- Environment: ZEM_SCRATCH, a folder to write in.
local scratch = os.getenv('ZEM_SCRATCH')
local failures, passed = {}, 0

local function check(ok, what)
  if ok then
    passed = passed + 1
  else
    table.insert(failures, what)
  end
end

local function finish()
  if #failures > 0 then
    io.stdout:write('FAIL: ' .. table.concat(failures, '\nFAIL: ') .. '\n')
    vim.cmd('cquit 1')
  end
  io.stdout:write(string.format('ok: %d checks in Neovim %s\n', passed,
    tostring(vim.version().major) .. '.' .. tostring(vim.version().minor)))
  vim.cmd('qall!')
end

-- The init.lua loaded whole: nothing refused at start-up.
check(vim.v.errmsg == '', 'start-up without errors: ' .. vim.v.errmsg)

local program = scratch .. '/traps.zem'
local file = assert(io.open(program, 'wb'))
file:write(table.concat({
  'はじめ',
  '\t見る "x";',
  '\t数a=1;',
  '\t見る("答え",数a);',
  'おわり',
  '',
}, '\n'))
file:close()
vim.cmd('edit ' .. vim.fn.fnameescape(program))
check(vim.bo.filetype == 'zem', 'filetype zem')
-- Colours: the syntax file, a keyword as one, the joined one as an error.
local function group_at(row, needle)
  local column = vim.fn.getline(row):find(needle, 1, true)
  local id = vim.fn.synID(row, column or 1, 1)
  return vim.fn.synIDattr(id, 'name') .. '/' .. vim.fn.synIDattr(vim.fn.synIDtrans(id), 'name')
end
check(vim.b.current_syntax == 'zem', 'syntax zem')
check(group_at(4, '見る') == 'zemKeyword/PreProc', 'a keyword coloured: ' .. group_at(4, '見る'))
check(group_at(2, '見る') == 'zemJoined/Error', 'the joined keyword an error: ' .. group_at(2, '見る'))

-- Diagnostics: the one finding of zemuc check, a warning at 見る.
local got = vim.wait(20000, function() return #vim.diagnostic.get(0) > 0 end, 50)
check(got, 'diagnostics published')
local diagnostics = vim.diagnostic.get(0)
check(#diagnostics == 1, 'one diagnostic, got ' .. #diagnostics)
if diagnostics[1] then
  local d = diagnostics[1]
  check(d.lnum == 1 and d.col == 1, 'the diagnostic at line 2, byte 1: ' .. d.lnum .. ':' .. d.col)
  check(d.severity == vim.diagnostic.severity.WARN, 'a warning')
  check(d.message:find("'見る' joins the text after it", 1, true) ~= nil, 'its text: ' .. d.message)
end

local function ask(method, row, col)
  vim.api.nvim_win_set_cursor(0, { row, col })
  local params = vim.lsp.util.make_position_params()
  local answers = vim.lsp.buf_request_sync(0, method, params, 10000) or {}
  for _, answer in pairs(answers) do
    if answer.result then return answer.result end
  end
  return nil
end

-- 数a on line 4 starts at byte 17 and UTF-16 unit 9: a tab, 見る, (, "答え"
-- and a comma.
local line4 = vim.api.nvim_buf_get_lines(0, 3, 4, false)[1]
local column = line4:find('数a', 1, true) - 1
local hover = ask('textDocument/hover', 4, column)
local hover_text = hover and hover.contents and hover.contents.value or ''
check(hover_text:find('数a: number variable, nn1 in C, first named on line 3', 1, true) ~= nil,
  'hover names the variable: ' .. hover_text)
check(hover_text:find('printf("%s[%d]\\n", "答え", nn1);', 1, true) ~= nil,
  'hover shows the C text of the line: ' .. hover_text)
-- The positions Neovim sends are UTF-16: the character counts, not bytes.
check(vim.lsp.util.make_position_params().position.character == 9, 'UTF-16 position of 数a')

local definition = ask('textDocument/definition', 4, column)
if definition and definition[1] then definition = definition[1] end
check(definition and definition.range and definition.range.start.line == 2
  and definition.range.start.character == 1, 'definition on line 3 at 数a')

local completion = ask('textDocument/completion', 3, 1)
local labels = {}
for _, item in ipairs(completion and (completion.items or completion) or {}) do
  labels[item.label] = item
end
check(labels['見る'] ~= nil and labels['読みきり'] ~= nil, 'keywords completed')
check(labels['数a'] ~= nil and labels['数a'].detail == 'number variable (nn1)', 'the variable completed')

-- A change through the client: the mend the server offers, applied.
local actions = vim.lsp.buf_request_sync(0, 'textDocument/codeAction', {
  textDocument = vim.lsp.util.make_text_document_params(),
  range = { start = { line = 1, character = 0 }, ['end'] = { line = 1, character = 8 } },
  context = { diagnostics = {} },
}, 10000) or {}
local action
for _, answer in pairs(actions) do action = answer.result and answer.result[1] end
check(action ~= nil, 'a code action for the blank')
if action then
  vim.lsp.util.apply_workspace_edit(action.edit, 'utf-16')
  check(vim.api.nvim_buf_get_lines(0, 1, 2, false)[1] == '\t見る("x";', 'the line mended')
  local cleared = vim.wait(20000, function() return #vim.diagnostic.get(0) == 0 end, 50)
  check(cleared, 'the diagnostic gone after the change')
end

-- The server's end. While it lives, every .zem buffer shares it; once it
-- has died, the next .zem buffer, and a buffer whose filetype is set again,
-- get a new one that answers.
local function servers(buf)
  if vim.lsp.get_clients then return vim.lsp.get_clients({ bufnr = buf, name = 'zemuc' }) end
  return vim.tbl_values(vim.lsp.buf_get_clients(buf))
end
local function open(name, lines)
  local path = scratch .. '/' .. name
  local out = assert(io.open(path, 'wb'))
  out:write(table.concat(lines, '\n') .. '\n')
  out:close()
  vim.cmd('edit ' .. vim.fn.fnameescape(path))
  return vim.api.nvim_get_current_buf()
end
local trapped = { 'はじめ', '\t見る"x";', 'おわり' }
vim.cmd('silent write')
local first_buf = vim.api.nvim_get_current_buf()
local first = servers(first_buf)[1]
check(#servers(first_buf) == 1, 'one server for the first buffer')
local second_buf = open('second.zem', trapped)
local shared = servers(second_buf)
check(#shared == 1 and first and shared[1].id == first.id, 'the second buffer shares the server')
if first then
  vim.loop.kill(first.rpc.pid, 'sigkill')
  local gone = vim.wait(10000, function() return vim.lsp.get_client_by_id(first.id) == nil end, 50)
  check(gone, 'the killed server gone from the clients')
  local third_buf = open('third.zem', trapped)
  local answered = vim.wait(20000, function() return #vim.diagnostic.get(third_buf) > 0 end, 50)
  local after = servers(third_buf)
  check(#after == 1 and after[1].id ~= first.id, 'a new server for the buffer opened after the death')
  check(answered, 'the new server publishes diagnostics')
  vim.cmd('buffer ' .. first_buf)
  vim.cmd('set filetype=zem')
  local again = servers(first_buf)
  check(#again == 1 and after[1] and again[1].id == after[1].id,
    'the first buffer, its filetype set again, on the new server')
end

finish()
