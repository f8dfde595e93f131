-- Runs in headless Neovim with editors/vim on 'runtimepath' (see
-- nvim_test.sh): opens the examples as stored (Shift-JIS), a UTF-8 program
-- and the trap programs as .zem files, and checks the filetype, the
-- encoding each is read and written in, and the syntax group at chosen places.
-- Environment: ZEM_EXAMPLES (the examples folder), ZEM_TRAPS (the folder of
-- the trap programs), ZEM_SCRATCH (a folder to write in).
local examples = os.getenv('ZEM_EXAMPLES')
local traps = os.getenv('ZEM_TRAPS')
local scratch = os.getenv('ZEM_SCRATCH')
local failures, passed = {}, 0

local function check(ok, what)
  if ok then
    passed = passed + 1
  else
    table.insert(failures, what)
  end
end

local function read_bytes(path)
  local file = assert(io.open(path, 'rb'))
  local bytes = file:read('*a')
  file:close()
  return bytes
end

local function write_bytes(path, bytes)
  local file = assert(io.open(path, 'wb'))
  file:write(bytes)
  file:close()
end

local function open(path)
  vim.cmd('silent! %bwipeout!')
  vim.cmd('edit ' .. vim.fn.fnameescape(path))
end

-- The first line that is exactly `text`.
local function line_of(text)
  for number, line in ipairs(vim.api.nvim_buf_get_lines(0, 0, -1, false)) do
    if line == text then return number, line end
  end
end

-- The syntax group (and the group it shows as) at the nth `needle` of the
-- line that is exactly `text`.
local function group_at(text, needle, nth)
  local number, line = line_of(text)
  if not number then return nil, 'no line ' .. text end
  local column = 0
  for _ = 1, nth or 1 do
    column = string.find(line, needle, column + 1, true)
    if not column then return nil, 'no ' .. needle .. ' in ' .. text end
  end
  local id = vim.fn.synID(number, column, 1)
  return vim.fn.synIDattr(id, 'name'), vim.fn.synIDattr(vim.fn.synIDtrans(id), 'name')
end

-- A copy of `from` in the scratch folder as `name`.
local function copy(from, name)
  write_bytes(scratch .. '/' .. name, read_bytes(from))
  return scratch .. '/' .. name
end

------------------------------------------------------------------------
-- Reading and writing: Shift-JIS and UTF-8 .zem files, a Shift-JIS file
-- that is no .zem. Written back, a Shift-JIS program keeps every byte.
local user_fencs = vim.o.fileencodings
local keisan = examples .. '/keisan/keisan.zem'
local kuku = examples .. '/kuku/kuku.zem'
write_bytes(scratch .. '/nibai.zem', '\t見る("二倍",数b);\n')
local readings = {
  { path = copy(keisan, 'keisan.zem'), original = keisan, filetype = 'zem', encoding = 'cp932', line = 2,
    text = '\t見る("計算します");' },
  { path = copy(kuku, 'kuku.zem'), original = kuku, filetype = 'zem', encoding = 'cp932', line = 3,
    text = '\t見る("九九の表を表示するソフト");' },
  { path = scratch .. '/nibai.zem', filetype = 'zem', encoding = 'utf-8', line = 1, text = '\t見る("二倍",数b);' },
  { path = copy(keisan, 'sjis.txt'), filetype = 'text', encoding_not = 'cp932' },
}
for _, r in ipairs(readings) do
  open(r.path)
  local name = vim.fn.fnamemodify(r.path, ':t')
  check(vim.bo.filetype == r.filetype, name .. ': filetype ' .. vim.bo.filetype)
  if r.encoding then
    check(vim.bo.fileencoding == r.encoding, name .. ': read as ' .. vim.bo.fileencoding)
  else
    check(vim.bo.fileencoding ~= r.encoding_not, name .. ': read as ' .. vim.bo.fileencoding)
  end
  if r.text then
    check(vim.fn.getline(r.line) == r.text, name .. ': line ' .. r.line .. ' reads ' .. vim.fn.getline(r.line))
  end
  check(vim.o.fileencodings == user_fencs, name .. ': fileencodings left as ' .. vim.o.fileencodings)
  if r.original then
    vim.cmd('silent write!')
    check(read_bytes(r.path) == read_bytes(r.original), name .. ': written back differently')
  end
end

------------------------------------------------------------------------
-- Syntax groups: { line, text in it, group, text, group, ... }; a text
-- given as { text, n } is its nth occurrence.
local cases = {
  [keisan] = {
    { 'はじめ', 'はじめ', 'zemKeyword' },
    { '\t見る("計算します");', '見る', 'zemKeyword', '計算', 'zemString' },
    { '\t打つ(数a);', '数a', 'zemNumVar' },
    { '\t数b=数a*2;', '2', 'zemNumber' },
    { '\t字s="abc";', '字s', 'zemStrVar' },
    { '\t開く(出力,"out.txt",w);', '出力', 'zemFile' },
    { '\t読む(入力,数c);', '数c', 'zemNumVar' },
    { '\t読みきり(入力,字t){', '読みきり', 'zemKeyword', '字t', 'zemStrVar' },
  },
  [examples .. '/heikin/heikin.zem'] = {
    { '\tif(数件数>0){', 'if', 'zemCKeyword' },
    { '\t}else{', 'else', 'zemCKeyword' },
  },
  [kuku] = {
    { '\t\t\tprintf("%3d",数積);', 'printf', 'zemCFunction', '%3d', 'zemFormat' },
    { '\t\tprintf("\\n");', '\\n', 'zemEscape' },
    { '\t見る("九九の表を表示するソフト");', 'ソフト', 'zemString' },
  },
  [copy(traps .. '/traps.zem.txt', 'traps.zem')] = {
    { '\t見る ("x");', '見る', 'zemKeyword' },
    { '\t閉じる ( 入力 );', '入力', 'zemFile' },
    { '\t見る "x";', '見る', 'zemJoined', ' ', 'zemJoiningSpace' },
    { '\t見る"x";', '見る', 'zemJoined' },
    { '\t見る数a;', '数a', '' },
    { '\t数a!=0;', '!', 'zemNumVar' },
    { '\t数a%数b=1;', '数b', 'zemNumVar' },
    { '\t数a=1; 数b=2;', ';', 'zemTerminator', '数b', 'zemIgnored' },
    { '\t見る("a;b"); 見る("c");', 'a;b', 'zemString', { '見る', 2 }, 'zemIgnored' },
    { "\tx=';';", { "';", 2 }, 'zemIgnored' },
    { "\tc='a';", "'a'", 'zemChar' },
    { '\t} else 見る("x");', 'else', 'zemCKeyword', '見る', 'zemJoined' },
    { '\t}else 数a=1;', '数a', '' },
    { '\t見る("見る");', { '見る', 2 }, 'zemString' },
    { '\t// 見る("x")', '//', 'zemLineComment', '見る', 'zemKeyword' },
    { '\t/* 数a=1 */ 数b=2;', '数a', 'zemBlockComment', '数b', 'zemNumVar' },
    { '\t// "a;b" 数a', '数a', 'zemLineComment' },
    { '\t見る　("x");', '　', 'zemFullSpace' },
    { '\t見る("a　b");', '　', 'zemString' },
    { '\t見る("a b");', ' ', 'zemRemovedSpace' },
    { '\treturn 0;', ' ', 'zemJoiningSpace' },
    { '\t見る("else x");', ' ', 'zemString' },
    { '\t数a = 数b + 1;', ' ', '' },
    { '\t数マス=数二倍;', 'マ', 'zemSplit', 'ス', '', '倍', 'zemSplit' },
    { '\t見る("マ倍");', 'マ', 'zemString' },
    { '\tマ見る("x");', '見る', 'zemKeyword' },
    { '\t見る("a")見る("b");', { '見る', 2 }, 'zemSecondKeyword' },
    { '\tint\tn=sizeof(数a);', 'int', 'zemCType' },
    { '\tif(数a==EOF||数b!=NULL){', 'NULL', 'zemCConstant', '数b', '' },
    { '\tx=0x1F+1.5e3;', '0x1F', 'zemNumber' },
  },
  [copy(traps .. '/comments.zem.txt', 'comments.zem')] = {
    { '\t/* 見る("y") */', '見る', 'zemKeyword', '*/', 'zemStatement' },
    { '\t数a=2;', '数a', 'zemBlockComment' },
    { '\t/* a; b */', '*/', 'zemIgnored' },
    { '\t数b=1;', '数b', 'zemBlockComment' },
    { '\t/* "a;b" */ 数c=1;', '数c', 'zemNumVar' },
    { '\t字d="x";', '字d', 'zemStrVar' },
  },
}
local shown = {}
for path, list in pairs(cases) do
  open(path)
  local name = vim.fn.fnamemodify(path, ':t')
  check(vim.b.current_syntax == 'zem', name .. ': syntax ' .. tostring(vim.b.current_syntax))
  for _, c in ipairs(list) do
    for i = 2, #c, 2 do
      local text, nth = c[i], 1
      if type(text) == 'table' then text, nth = text[1], text[2] end
      local group, looks = group_at(c[1], text, nth)
      check(group == c[i + 1],
        string.format('%s: %q in %q is %s, not %s', name, text, c[1], tostring(looks and group or looks), c[i + 1]))
      if group then shown[group] = looks end
    end
  end
end

-- What a reader must tell apart looks different.
local apart = { 'zemKeyword', 'zemNumVar', 'zemStrVar', 'zemString', 'zemLineComment', 'zemCKeyword', 'zemJoined' }
for i = 1, #apart do
  for j = i + 1, #apart do
    local a, b = shown[apart[i]], shown[apart[j]]
    check(a and b and a ~= b, string.format('%s and %s both show as %s', apart[i], apart[j], tostring(a)))
  end
end

for _, failure in ipairs(failures) do io.stdout:write('FAILED: ' .. failure .. '\n') end
io.stdout:write(string.format('%d passed, %d failed\n', passed, #failures))
vim.cmd(#failures == 0 and 'qall!' or 'cquit! 1')
