;;; zem-mode-test.el --- ERT tests of zem-mode  -*- lexical-binding: t; -*-

;; Run by emacs_test.sh: emacs --batch -Q with zem-mode.el loaded.
;; ZEM_EXAMPLES names the examples folder, ZEM_TRAPS the folder of the trap
;; programs of the grammar tests.

(require 'ert)
(require 'zem-mode)

(defconst zem-test-examples (getenv "ZEM_EXAMPLES"))
(defconst zem-test-traps (getenv "ZEM_TRAPS"))

(defun zem-test-bytes (file)
  (with-temp-buffer
    (set-buffer-multibyte nil)
    (insert-file-contents-literally file)
    (buffer-string)))

(defmacro zem-test-visiting (file &rest body)
  "Run BODY in a buffer visiting FILE, then kill it."
  (declare (indent 1))
  `(let ((buffer (find-file-noselect ,file t)))
     (unwind-protect (with-current-buffer buffer ,@body)
       (kill-buffer buffer))))

(defun zem-test-copy (source name)
  "A copy of SOURCE named NAME in a new temporary folder."
  (let ((copy (expand-file-name name (make-temp-file "zem-test-" t))))
    (copy-file source copy)
    copy))

(ert-deftest zem-mode-reads-and-writes-back-each-encoding ()
  (dolist (case `((,(expand-file-name "keisan/keisan.zem" zem-test-examples) japanese-cp932 2 "\t見る(\"計算します\");")
                  (,(expand-file-name "kuku/kuku.zem" zem-test-examples) japanese-cp932 3
                   "\t見る(\"九九の表を表示するソフト\");")
                  (,(expand-file-name "traps/traps.zem.txt" (file-name-directory zem-test-traps)) utf-8 5
                   "\t見る (\"x\");")))
    (pcase-let* ((`(,source ,coding ,line ,text) case)
                 (copy (zem-test-copy source "program.zem")))
      (zem-test-visiting copy
        (should (eq major-mode 'zem-mode))
        (should (eq (coding-system-base buffer-file-coding-system) coding))
        (goto-char (point-min))
        (forward-line (1- line))
        (should (equal (buffer-substring-no-properties (point) (line-end-position)) text))
        ;; Saved after a change and its undoing, every byte is as it was.
        (insert "x")
        (delete-char -1)
        (set-buffer-modified-p t)
        (save-buffer))
      (should (equal (zem-test-bytes copy) (zem-test-bytes source))))))

(defun zem-test-face-at (text needle nth)
  "The faces at the NTH NEEDLE of the line that is exactly TEXT."
  (goto-char (point-min))
  (unless (re-search-forward (concat "^" (regexp-quote text) "$") nil t)
    (error "No line %S" text))
  (goto-char (line-beginning-position))
  (dotimes (_ nth) (search-forward needle (line-end-position)))
  (let ((face (get-text-property (match-beginning 0) 'face)))
    (if (listp face) face (list face))))

(defconst zem-test-faces
  '(;; file, line, text in it, which one, the face it has, or (not FACE)
    ("keisan" "\t見る(\"計算します\");" "見る" 1 font-lock-keyword-face)
    ("keisan" "\t見る(\"計算します\");" "計算" 1 font-lock-string-face)
    ("keisan" "\t打つ(数a);" "数a" 1 zem-numeric-variable-face)
    ("keisan" "\t字s=\"abc\";" "字s" 1 zem-string-variable-face)
    ("keisan" "\t開く(出力,\"out.txt\",w);" "出力" 1 zem-file-face)
    ("keisan" "\t読みきり(入力,字t){" "字t" 1 zem-string-variable-face)
    ("heikin" "\tif(数件数>0){" "if" 1 font-lock-builtin-face)
    ("traps" "\t見る (\"x\");" "見る" 1 font-lock-keyword-face)
    ("traps" "\t閉じる ( 入力 );" "入力" 1 zem-file-face)
    ("traps" "\t見る \"x\";" "見る" 1 (not font-lock-keyword-face))
    ("traps" "\t見る\"x\";" "見る" 1 (not font-lock-keyword-face))
    ("traps" "\t見る数a;" "数a" 1 (not zem-numeric-variable-face))
    ("traps" "\t数a!=0;" "!" 1 zem-numeric-variable-face)
    ("traps" "\t数a=1; 数b=2;" "数b" 1 zem-ignored-face)
    ("traps" "\t見る(\"a;b\"); 見る(\"c\");" "b" 1 font-lock-string-face)
    ("traps" "\t見る(\"a;b\"); 見る(\"c\");" "見る" 2 zem-ignored-face)
    ("traps" "\t} else 見る(\"x\");" "else" 1 font-lock-builtin-face)
    ("traps" "\t} else 見る(\"x\");" "見る" 1 (not font-lock-keyword-face))
    ("traps" "\t}else 数a=1;" "数a" 1 (not zem-numeric-variable-face))
    ("traps" "\t見る(\"見る\");" "見る" 2 (not font-lock-keyword-face))
    ("traps" "\t// 見る(\"x\")" "//" 1 font-lock-comment-delimiter-face)
    ("traps" "\t// 見る(\"x\")" "見る" 1 font-lock-keyword-face)
    ("traps" "\t/* 数a=1 */ 数b=2;" "数a" 1 (not zem-numeric-variable-face))
    ("traps" "\t/* 数a=1 */ 数b=2;" "数b" 1 zem-numeric-variable-face)
    ("traps" "\t見る　(\"x\");" "見る" 1 (not font-lock-keyword-face))
    ("traps" "\tマ見る(\"x\");" "見る" 1 (not font-lock-keyword-face))
    ("traps" "\tif(数a==EOF||数b!=NULL){" "数b" 1 (not zem-numeric-variable-face))
    ("traps" "\tint\tn=sizeof(数a);" "int" 1 font-lock-type-face))
  "Faces at chosen places of the examples and the trap programs.")

(ert-deftest zem-mode-faces ()
  (let ((files `(("keisan" . ,(expand-file-name "keisan/keisan.zem" zem-test-examples))
                 ("heikin" . ,(expand-file-name "heikin/heikin.zem" zem-test-examples))
                 ("traps" . ,(zem-test-copy (expand-file-name "traps.zem.txt" zem-test-traps) "traps.zem"))))
        failures)
    (dolist (case zem-test-faces)
      (pcase-let ((`(,file ,text ,needle ,nth ,expected) case))
        (zem-test-visiting (cdr (assoc file files))
          (font-lock-ensure)
          (let* ((faces (zem-test-face-at text needle nth))
                 (ok (if (eq (car-safe expected) 'not)
                         (not (memq (cadr expected) faces))
                       (memq expected faces))))
            (unless ok (push (list file text needle nth expected faces) failures))))))
    (should (equal (reverse failures) nil))))

;;; zem-mode-test.el ends here
