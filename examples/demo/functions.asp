<%
' 字符串与 HTML 处理的通用函数
Const ELLIPSIS = "..."
Const NEWS_TITLE_WIDTH = 40
Function CutStr(s, maxWidth)
	Dim t, k, w, c
	' 按显示宽度截取，汉字算两个字符宽
	t = s & ""
	w = 0
	CutStr = t
	For k = 1 To Len(t)
		c = AscW(Mid(t, k, 1))
		If c < 0 Or c > 255 Then w = w + 2 Else w = w + 1
		If w > maxWidth Then
			CutStr = Left(t, k - 1) & ELLIPSIS
			Exit For
		End If
	Next
End Function

Function FormatDate(d)
	Dim dt
	If Not IsDate(d) Then
		FormatDate = ""
		Exit Function
	End If
	dt = CDate(d)
	FormatDate = Year(dt) & "-" & Right("0" & Month(dt), 2) & "-" & Right("0" & Day(dt), 2)
End Function

Function HtmlEnc(s)
	' Null 和空值都按空字符串处理
	If IsNull(s) Or IsEmpty(s) Then HtmlEnc = "" Else HtmlEnc = Server.HTMLEncode(s & "")
End Function

Function IIfStr(cond, a, b)
	If cond Then IIfStr = a Else IIfStr = b
End Function

Function SafeInt(v, defaultValue)
	Dim t
	t = Trim(v & "")
	SafeInt = defaultValue
	If t <> "" And IsNumeric(t) Then
		If Abs(CDbl(t)) < 32767 Then SafeInt = CInt(t)
	End If
End Function

Function TextToHtml(s)
	' 先转义，再把换行变成 <br />
	TextToHtml = Replace(Replace(HtmlEnc(s), vbCrLf, vbLf), vbLf, "<br />")
End Function

%>
