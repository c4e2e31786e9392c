<%@codepage=936%>
<%Option Explicit%>
<!--#include file="functions.asp"-->
<!--#include file="inc/conn.asp"-->
<!--#include file="layout.asp"-->
<%
' 青松中学校园网首页：新闻列表和访客留言板
Dim arrNews(10)
Dim strAction, strMessage, strMsgKind
Dim nPage, nNewsCount
Const PAGE_TITLE = "首页"
Const NAME_MAX_LEN = 20
Const MSG_MIN_LEN = 5
Const MSG_MAX_LEN = 500
Response.Charset = "gbk"
strAction = LCase(Trim(Request.QueryString("act")))
nPage = SafeInt(Request.QueryString("page"), 1)
If nPage < 1 Then nPage = 1
strMessage = ""
strMsgKind = "info"
' 处理留言提交，只接受 POST 方式
If strAction = "post" And Request.ServerVariables("REQUEST_METHOD") = "POST" Then
	strMessage = SaveGuestbook(Request.Form("username"), Request.Form("content"))
	If strMessage = "" Then
		strMessage = "留言已提交，感谢您的参与！"
	Else
		strMsgKind = "error"
	End If
End If
nNewsCount = LoadNews()
Call PageHeader(PAGE_TITLE)
If strMessage <> "" Then Response.Write ShowMessage(strMessage, strMsgKind)
' 根据参数 act 显示不同的内容
Select Case strAction
	Case "guestbook", "post"
		Call ShowGuestbook(nPage)
	Case Else
		Call ShowNewsList(nNewsCount)
End Select
Call PageFooter()
Function LoadNews()
	Dim rows, n, k
	n = 0
	rows = ExecuteRows("SELECT TOP " & (UBound(arrNews) + 1) & " ID, Title, PostTime FROM News ORDER BY PostTime DESC")
	If IsArray(rows) Then
		For k = 0 To UBound(rows, 2)
			If n > UBound(arrNews) Then Exit For
			arrNews(n) = Array(rows(0, k), rows(1, k), rows(2, k))
			n = n + 1
		Next
	Else
		' 数据库不可用时使用演示数据
		arrNews(0) = Array(1, "高二年级“诗词大会”决赛将于本周五下午在礼堂举行", DateAdd("d", -1, Date()))
		arrNews(1) = Array(2, "关于调整冬季作息时间的通知", DateAdd("d", -3, Date()))
		arrNews(2) = Array(3, "我校学生在市中学生运动会上获得团体第二名", DateAdd("d", -10, Date()))
		n = 3
	End If
	LoadNews = n
End Function

Function SaveGuestbook(nameValue, contentValue)
	Dim userName, content, sql
	userName = Trim(nameValue & "")
	content = Trim(contentValue & "")
	SaveGuestbook = ""
	' 逐项检查，返回空字符串表示保存成功
	If userName = "" Then
		SaveGuestbook = "请填写您的称呼。"
	ElseIf Len(userName) > NAME_MAX_LEN Then
		SaveGuestbook = "称呼不能超过 " & NAME_MAX_LEN & " 个字。"
	ElseIf Len(content) < MSG_MIN_LEN Or Len(content) > MSG_MAX_LEN Then
		SaveGuestbook = "留言内容应在 " & MSG_MIN_LEN & " 到 " & MSG_MAX_LEN & " 个字之间。"
	Else
		sql = "INSERT INTO Guestbook (UserName, Content, PostTime, PostIP) VALUES (" & SqlStr(userName) & ", " & SqlStr(content) & ", " & SqlStr(Now()) & ", " & SqlStr(Request.ServerVariables("REMOTE_ADDR")) & ")"
		If Not ExecuteSql(sql) Then SaveGuestbook = "留言保存失败，请稍后再试。"
	End If
End Function

Function ShowGuestbook(page)
	Dim rows, total, pageCount, p, first, last, j
	Dim userName, content
	total = 0
	p = page
	rows = ExecuteRows("SELECT UserName, Content, PostTime FROM Guestbook ORDER BY PostTime DESC")
	Response.Write "<h2>访客留言</h2>" & vbCrLf
	If Not IsArray(rows) Then
		Response.Write "<p>还没有留言，快来写下第一条吧！</p>" & vbCrLf
	Else
		total = UBound(rows, 2) + 1
		pageCount = (total + PAGE_SIZE - 1) \ PAGE_SIZE
		If p > pageCount Then p = pageCount
		first = (p - 1) * PAGE_SIZE
		last = first + PAGE_SIZE - 1
		If last > total - 1 Then last = total - 1
		For j = first To last
			Response.Write "<div class=""msg""><p><b>" & HtmlEnc(rows(0, j)) & "</b> 发表于 " & FormatDate(rows(2, j)) & "</p>"
			Response.Write "<p>" & TextToHtml(rows(1, j)) & "</p></div>" & vbCrLf
		Next
		Response.Write "<p class=""pager"">第 " & p & " / " & pageCount & " 页 "
		If p > 1 Then Response.Write NavLink("index.asp?act=guestbook&amp;page=" & (p - 1), "上一页") & " "
		If p < pageCount Then Response.Write NavLink("index.asp?act=guestbook&amp;page=" & (p + 1), "下一页")
		Response.Write "</p>" & vbCrLf
	End If
	' 提交失败时保留已经填写的内容
	userName = ""
	content = ""
	If strMsgKind = "error" Then
		userName = Request.Form("username")
		content = Request.Form("content")
	End If
	Response.Write "<h3>我要留言</h3>" & vbCrLf
	Response.Write "<form method=""post"" action=""index.asp?act=post"">" & vbCrLf
	Response.Write "<p>称呼：<input type=""text"" name=""username"" maxlength=""" & NAME_MAX_LEN & """ value=""" & HtmlEnc(userName) & """ /></p>" & vbCrLf
	Response.Write "<p>内容：<br /><textarea name=""content"" rows=""6"" cols=""60"">" & HtmlEnc(content) & "</textarea></p>" & vbCrLf
	Response.Write "<p><input type=""submit"" value=""提交留言"" /> （" & MSG_MIN_LEN & " 到 " & MSG_MAX_LEN & " 个字）</p>" & vbCrLf
	Response.Write "</form>" & vbCrLf
	ShowGuestbook = total
End Function

Function ShowNewsList(count)
	Dim k, item, html
	Response.Write "<h2>校园新闻</h2>" & vbCrLf
	If count = 0 Then
		Response.Write "<p>暂无新闻。</p>" & vbCrLf
		Exit Function
	End If
	html = "<ul class=""news"">" & vbCrLf
	For k = 0 To count - 1
		item = arrNews(k)
		html = html & "<li><span class=""date"">[" & FormatDate(item(2)) & "]</span> "
		html = html & "<span title=""" & HtmlEnc(item(1)) & """>" & HtmlEnc(CutStr(item(1), NEWS_TITLE_WIDTH)) & "</span>"
		' 一周内发布的新闻加上“新”字标记
		html = html & IIfStr(DateDiff("d", item(2), Now()) <= 7, " <em class=""new"">新</em>", "") & "</li>" & vbCrLf
	Next
	Response.Write html & "</ul>" & vbCrLf
	ShowNewsList = count
End Function

%>
